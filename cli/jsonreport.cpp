#include "cli/jsonreport.h"

#include "base/textcodec.h"
#include "cli/orderedwrite.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/filetree.h"
#include "engine/linkhints.h"
#include "engine/referrers.h"
#include "engine/site.h"
#include "project/project.h"

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

/// The first place at or after from where text holds a byte that a JSON
/// string must escape (a control character, '"' or '\\'), or its size.
/// Link texts are long and seldom hold one: sixteen bytes are looked at a
/// time where the processor allows it.
size_t nextToEscape(std::string_view text, size_t from)
{
    const auto escaped = [](unsigned char u) { return u < 0x20 || u == '"' || u == '\\'; };
    size_t i = from;
#if defined(__SSE2__)
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + i));
        // A byte is at most 0x1F when the larger of it and 0x1F is 0x1F.
        const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(block, lastControl), lastControl);
        const __m128i hits = _mm_or_si128(
            control, _mm_or_si128(_mm_cmpeq_epi8(block, quote), _mm_cmpeq_epi8(block, backslash)));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < text.size(); ++i) {
        if (escaped(static_cast<unsigned char>(text[i])))
            return i;
    }
    return text.size();
}

/// Appends text, known to be UTF-8, as a JSON string literal. Runs of bytes
/// that need no escape are copied whole.
void appendEscaped(std::string &out, std::string_view text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (size_t run = 0;;) {
        const size_t i = nextToEscape(text, run);
        out.append(text.substr(run, i - run));
        if (i == text.size())
            break;
        const auto u = static_cast<unsigned char>(text[i]);
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
void appendStrings(std::string &out, const List &list)
{
    out += '[';
    for (size_t i = 0; i < list.size(); ++i) {
        if (i)
            out += ", ";
        appendJsonString(out, list[i]);
    }
    out += ']';
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

void appendAnchors(std::string &out, const FileObject &object)
{
    out += '[';
    // Anchor nodes stand in the order of Anchors; their state picture tells
    // whether a followed link named them.
    const TreeNode *node = object.Node;
    for (size_t i = 0; node && i < node->Count(); ++i) {
        const TreeNode *anchor = node->Child(i);
        out += i ? ", {\"name\": " : "{\"name\": ";
        appendJsonString(out, anchor->Text());
        out += ", \"referenced\": ";
        out += boolean(anchor->StateIndex() == ImgReached);
        out += '}';
    }
    out += ']';
}

/// The hints of a page's invalid links as an object, link to suggestion;
/// nothing when none has one.
void appendHints(std::string &out, const LinkHints &hints, const FileObject &page)
{
    bool any = false;
    for (size_t i = 0; i < page.InvalidLinks.size(); ++i) {
        const auto hint = hints.For(page, i);
        if (!hint)
            continue;
        out += any ? ", " : ", \"hints\": {";
        any = true;
        appendJsonString(out, page.LinkTarget(page.InvalidLinks.BaseIndex(i)));
        out += ": ";
        appendJsonString(out, hint->link);
    }
    if (any)
        out += '}';
}

void appendReferrers(std::string &out, const Site &site, const ReferrerTable &table,
                     const FileObject &object)
{
    out += ", \"referrers\": [";
    bool first = true;
    for (const Referrer &referrer : table.Of(object)) {
        const FileObject &page = *table.Page(referrer);
        out += first ? "{\"page\": " : ", {\"page\": ";
        appendJsonString(out, RelativePath(site, page.FullPath));
        out += ", \"line\": ";
        out += std::to_string(table.Line(referrer));
        out += ", \"state\": \"";
        out += ReferrerStateText(ReferrerStateOf(page));
        out += "\"}";
        first = false;
    }
    out += ']';
}

/// What the report tells of one file; only reads the site, so files are
/// rendered side by side.
struct FileRenderer
{
    const Site &site;
    const LinkHints *hints;         // null when no page has invalid links
    const ReferrerTable *referrers; // null when not asked for

    void operator()(std::string &out, const FileObject &object) const
    {
        out += "{\"path\": ";
        appendJsonString(out, RelativePath(site, object.FullPath));
        out += ", \"kind\": \"";
        out += kindName(object.Kind);
        out += "\", \"state\": \"";
        out += stateName(object.ReachState);
        out += "\", \"ignored\": ";
        out += boolean(object.Ignored);
        out += ", \"blue\": ";
        out += boolean(object.Blue);
        out += ", \"valid\": ";
        appendStrings(out, ShownLinks{object, object.ValidLinks});
        out += ", \"invalid\": ";
        appendStrings(out, ShownLinks{object, object.InvalidLinks});
        out += ", \"external\": ";
        appendStrings(out, ShownLinks{object, object.ExternalLinks});
        out += ", \"anchors\": ";
        appendAnchors(out, object);
        if (!object.InvalidLinks.empty())
            appendHints(out, *hints, object);
        if (referrers)
            appendReferrers(out, site, *referrers, object);
        out += '}';
    }
};

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
    // The tables a file's entry reads are made before the files are
    // rendered side by side.
    const FileRenderer render{site, HintsForReport(site), referrers ? &site.Referrers() : nullptr};
    const size_t count = site.FileObjects.size();
    out << "  \"files\": [";
    WriteInOrder(out, count, [&](size_t i, std::string &text) {
        text += i ? ",\n    " : "\n    ";
        render(text, *site.FileObjects[i]);
    });
    out << (count == 0 ? "]\n" : "\n  ]\n");
    out << "}\n";
}

} // namespace orvane::cli
