#include "cli/jsonreport.h"

#include "base/textcodec.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/linkhints.h"
#include "engine/referrers.h"
#include "engine/site.h"
#include "project/project.h"

#include <vector>

namespace orvane::cli {

namespace {

const char *kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::html:
        return "html";
    case FileKind::image:
        return "image";
    case FileKind::other:
        break;
    }
    return "other";
}

const char *stateName(ReachState state)
{
    switch (state) {
    case ReachState::top:
        return "top";
    case ReachState::reached:
        return "reached";
    case ReachState::unreached:
        break;
    }
    return "unreached";
}

const char *boolean(bool value)
{
    return value ? "true" : "false";
}

/// Appends text, known to be UTF-8, as a JSON string literal. Runs of bytes
/// that need no escape are copied whole.
void appendEscaped(std::string &out, std::string_view text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<unsigned char>(text[i]);
        if (u >= 0x20 && u != '"' && u != '\\')
            continue;
        out.append(text.substr(run, i - run));
        if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += '\\';
            out += static_cast<char>(u);
        }
        run = i + 1;
    }
    out.append(text.substr(run));
    out += '"';
}

void appendJsonString(std::string &out, std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        appendEscaped(out, bytes);
    else
        appendEscaped(out, DecodeForDisplay(bytes));
}

template<typename List>
void writeStrings(std::ostream &out, const List &list)
{
    // Pages hold many links: the list is put together first and written at once.
    thread_local std::string line;
    line.assign(1, '[');
    for (size_t i = 0; i < list.size(); ++i) {
        if (i)
            line += ", ";
        appendJsonString(line, list[i]);
    }
    line += ']';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

/// A page's link list as the current rules read the links: a refresh target
/// written in quotes without them.
struct ShownLinks
{
    const FileObject &page;
    const LinkSubset &links;
    size_t size() const { return links.size(); }
    std::string_view operator[](size_t i) const { return page.LinkTarget(links.BaseIndex(i)); }
};

/// A list of many entries, one per line.
template<typename List, typename Write>
void writeLongList(std::ostream &out, const char *key, const List &list, Write write, bool last)
{
    out << "  \"" << key << "\": [";
    for (size_t i = 0; i < list.size(); ++i) {
        out << (i ? ",\n    " : "\n    ");
        write(list[i]);
    }
    out << (list.empty() ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

void writeAnchors(std::ostream &out, const FileObject &object)
{
    out << '[';
    // Anchor nodes stand in the order of Anchors; their state picture tells
    // whether a followed link named them.
    const TreeNode *node = object.Node;
    for (size_t i = 0; node && i < node->Count(); ++i) {
        const TreeNode *anchor = node->Child(i);
        out << (i ? ", " : "") << "{\"name\": " << JsonString(anchor->Text())
            << ", \"referenced\": " << boolean(anchor->StateIndex() == ImgReached) << '}';
    }
    out << ']';
}

/// The hints of a page's invalid links as an object, link to suggestion;
/// nothing when none has one.
void writeHints(std::ostream &out, const LinkHints &hints, const FileObject &page)
{
    thread_local std::string line;
    line.clear();
    for (size_t i = 0; i < page.InvalidLinks.size(); ++i) {
        const auto hint = hints.For(page, i);
        if (!hint)
            continue;
        line += line.empty() ? ", \"hints\": {" : ", ";
        appendJsonString(line, page.LinkTarget(page.InvalidLinks.BaseIndex(i)));
        line += ": ";
        appendJsonString(line, hint->link);
    }
    if (line.empty())
        return;
    line += '}';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

void writeReferrers(std::ostream &out, const Site &site, const ReferrerTable &table,
                    const FileObject &object)
{
    out << ", \"referrers\": [";
    bool first = true;
    for (const Referrer &referrer : table.Of(object)) {
        const FileObject &page = *table.Page(referrer);
        out << (first ? "" : ", ") << "{\"page\": " << JsonString(RelativePath(site, page.FullPath))
            << ", \"line\": " << table.Line(referrer) << ", \"state\": \""
            << ReferrerStateText(ReferrerStateOf(page)) << "\"}";
        first = false;
    }
    out << ']';
}

void writeFile(std::ostream &out, Site &site, const FileObject &object, bool referrers)
{
    out << "{\"path\": " << JsonString(RelativePath(site, object.FullPath)) << ", \"kind\": \""
        << kindName(object.Kind) << "\", \"state\": \"" << stateName(object.ReachState)
        << "\", \"ignored\": " << boolean(object.Ignored) << ", \"blue\": " << boolean(object.Blue)
        << ", \"valid\": ";
    writeStrings(out, ShownLinks{object, object.ValidLinks});
    out << ", \"invalid\": ";
    writeStrings(out, ShownLinks{object, object.InvalidLinks});
    out << ", \"external\": ";
    writeStrings(out, ShownLinks{object, object.ExternalLinks});
    out << ", \"anchors\": ";
    writeAnchors(out, object);
    if (!object.InvalidLinks.empty())
        writeHints(out, site.Hints(), object);
    if (referrers)
        writeReferrers(out, site, site.Referrers(), object);
    out << '}';
}

} // namespace

std::string JsonString(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size() + 2);
    appendJsonString(out, bytes);
    return out;
}

void WriteJsonReport(std::ostream &out, Site &site, bool referrers)
{
    out << "{\n  \"homeDir\": " << JsonString(site.project().HomeDir()) << ",\n"
        << "  \"fileCount\": " << site.FileObjects.size() << ",\n"
        << "  \"filesWithInvalidLinks\": " << site.FilesWithInvalidLinks << ",\n"
        << "  \"invalidLinkTotal\": " << site.InvalidLinkTotal << ",\n";
    writeLongList(
        out, "orphans", Orphans(site),
        [&](const FileObject *object) { out << JsonString(RelativePath(site, object->FullPath)); },
        false);
    writeLongList(
        out, "attentionFolders", AttentionFolders(site),
        [&](const std::string &folder) { out << JsonString(folder); }, false);
    std::vector<const FileObject *> files;
    files.reserve(site.FileObjects.size());
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        files.push_back(site.FileObjects[i]);
    writeLongList(
        out, "files", files,
        [&](const FileObject *object) { writeFile(out, site, *object, referrers); }, true);
    out << "}\n";
}

} // namespace orvane::cli
