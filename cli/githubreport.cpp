#include "cli/githubreport.h"

#include "base/textcodec.h"
#include "cli/sitereport.h"
#include "engine/fileobject.h"
#include "engine/linkhints.h"
#include "engine/site.h"

#include <vector>

namespace orvane::cli {

namespace {

std::string escape(const std::string &text, bool property)
{
    static const char hex[] = "0123456789ABCDEF";
    const std::string decoded = DecodeForDisplay(text);
    std::string out;
    out.reserve(decoded.size());
    for (const char c : decoded) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else if (property && c == ':')
            out += "%3A";
        else if (property && c == ',')
            out += "%2C";
        else if (c == '\t')
            out += "\\t";
        else if (u < 0x20 || u == 0x7F)
            out += {'\\', 'x', hex[u >> 4], hex[u & 0xF]};
        else
            out += c;
    }
    return out;
}

std::vector<std::string> segments(const std::string &path)
{
    std::vector<std::string> parts;
    size_t from = 0;
    while (from < path.size()) {
        size_t slash = path.find('/', from);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > from)
            parts.push_back(path.substr(from, slash - from));
        from = slash + 1;
    }
    return parts;
}

void writeSummary(std::ostream &out, const std::string &summary)
{
    for (size_t i = 0; i < summary.size(); ++i) {
        if (summary[i] == '\r' && i + 1 < summary.size() && summary[i + 1] == '\n')
            continue;
        out << summary[i];
    }
    out << '\n';
}

void writeInvalidLinks(std::ostream &out, const FileObject &page, const LinkHints &hints,
                       const std::string &currentFolder)
{
    if (page.InvalidLinks.empty())
        return;
    const std::string file = EscapeWorkflowProperty(PathRelativeTo(page.FullPath, currentFolder));
    for (const InvalidLinkEntry &entry : InvalidLinksInPageOrder(page, &hints)) {
        out << "::error file=" << file;
        if (entry.line > 0)
            out << ",line=" << entry.line;
        out << "::"
            << EscapeWorkflowData(Tr(InvalidLinkAnnotation) + std::string(entry.link) + " (" +
                                  Tr(InvalidReasonText(entry.reason)) + ")" +
                                  (entry.suggestion.empty() ? "" : " -> " + entry.suggestion))
            << '\n';
    }
}

} // namespace

std::string EscapeWorkflowData(const std::string &text)
{
    return escape(text, false);
}

std::string EscapeWorkflowProperty(const std::string &text)
{
    return escape(text, true);
}

std::string PathRelativeTo(const std::string &path, const std::string &folder)
{
    const std::vector<std::string> to = segments(path);
    const std::vector<std::string> from = segments(folder);
    size_t shared = 0;
    while (shared < to.size() && shared < from.size() && to[shared] == from[shared])
        ++shared;
    std::string relative;
    for (size_t i = shared; i < from.size(); ++i)
        relative += "../";
    for (size_t i = shared; i < to.size(); ++i)
        relative += to[i] + (i + 1 < to.size() ? "/" : "");
    if (relative.empty())
        return ".";
    if (relative.back() == '/')
        relative.pop_back();
    return relative;
}

void WriteGithubReport(std::ostream &out, Site &site, const std::string &summary,
                       const std::string &currentFolder)
{
    writeSummary(out, summary);
    for (size_t i = 0; i < site.FileObjects.size(); ++i)
        writeInvalidLinks(out, *site.FileObjects[i], site.Hints(), currentFolder);
    for (const FileObject *orphan : Orphans(site))
        out << "::warning file="
            << EscapeWorkflowProperty(PathRelativeTo(orphan->FullPath, currentFolder))
            << "::" << EscapeWorkflowData(Tr(OrphanAnnotation)) << '\n';
}

} // namespace orvane::cli
