#include "engine/fileobject.h"

#include "base/host.h"
#include "base/strutil.h"
#include "engine/checkrun.h"
#include "engine/filenames.h"
#include "engine/filetree.h"
#include "engine/fileurl.h"
#include "engine/linkextract.h"
#include "engine/pageprefetch.h"
#include "engine/readfileall.h"
#include "engine/site.h"
#include "project/project.h"

namespace orvane {

namespace {

/// Whether needle occurs in text with a-z folded onto A-Z (needle upper case).
bool containsText(std::string_view text, std::string_view upperNeedle)
{
    if (upperNeedle.size() > text.size())
        return false;
    for (size_t i = 0; i + upperNeedle.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < upperNeedle.size() && asciiUpper(text[i + k]) == upperNeedle[k])
            ++k;
        if (k == upperNeedle.size())
            return true;
    }
    return false;
}

/// Links that stay inside the site name no scheme, mail address or news group.
bool isSiteInternal(const std::string &entry)
{
    return entry.find("://") == std::string::npos && !containsText(entry, "MAILTO:") &&
           !containsText(entry, "NEWS:");
}

/// Where anchor stands in target's Anchors; -1 without a target or an anchor.
int32_t anchorIndexIn(const FileObject *target, const std::string &anchor)
{
    return target && !anchor.empty() ? target->Anchors.IndexOf(anchor) : -1;
}

} // namespace

FileObject::FileObject(Site &site, TreeNode *node, uint64_t sequence)
    : Node(node)
    , m_site(site)
    , m_sequence(sequence)
{
    SetIgnored(false);
    SetBlue(true);
    SetReachState(ReachState::unreached);
}

void FileObject::LoadFromFile(const std::string &path)
{
    FullPath = path;
    m_site.FileObjects.IndexPath(this);
    Kind = ClassifyExtension(m_site.settings(), AsciiUpper(ExtractFileExt(path)));
    if (Kind == FileKind::image)
        Node->SetImageIndex(ImgPicture);
    else if (Kind == FileKind::other)
        Node->SetImageIndex(ImgBlankPage);
    if (Kind == FileKind::html) {
        if (ReadsLinksOnLoad(m_site, path))
            ExtractLinks();
        SetBlue(true);
    }
    NameKey = orvane::NameKey(path);
}

void FileObject::SetIgnored(bool flag)
{
    Ignored = flag;
    if (flag) {
        Node->SetOverlayIndex(OverlayExcluded);
        SetReachState(ReachState::reached);
        m_site.project().AddIgnoreFile(FullPath);
    } else {
        Node->SetOverlayIndex(NoOverlay);
        m_site.project().RemoveIgnoreFile(FullPath);
    }
}

void FileObject::SetReachState(orvane::ReachState state)
{
    switch (state) {
    case ReachState::reached:
        Node->SetStateIndex(ImgReached);
        break;
    case ReachState::unreached:
        Node->SetStateIndex(ImgUnreached);
        break;
    case ReachState::top:
        Node->SetStateIndex(ImgTopPage);
        break;
    }
    ReachState = state;
}

void FileObject::SetBlue(bool flag)
{
    Node->SetImageIndex(flag ? ImgPageBlue : ImgPageWhite);
    Blue = flag;
}

void FileObject::UpdateImage()
{
    BusyScope busy(m_site);
    m_site.host().setStatus(std::string(ExtractFileName(FullPath)) +
                            " - ファイルイメージのセット中");
    if (Kind == FileKind::html) {
        if (!InvalidLinks.empty()) {
            SetBlue(true);
        } else {
            bool flag = false;
            if (m_site.settings().AnchorMakesFileBlue) {
                for (size_t i = 0; i < Node->Count(); ++i) {
                    if (Node->Child(i)->StateIndex() != ImgReached) {
                        flag = true;
                        break;
                    }
                }
            }
            SetBlue(flag);
        }
    }
    Node->SetSelectedIndex(Node->ImageIndex());
}

bool ReadsLinksOnLoad(const Site &site, const std::string &path)
{
    return ClassifyExtension(site.settings(), AsciiUpper(ExtractFileExt(path))) == FileKind::html &&
           !(site.settings().IgnoreHTMLInfo && site.project().IsIgnoreFile(path));
}

void FileObject::ExtractLinks()
{
    const ExtractContext context{m_site.host(), m_site.HaltRequested,
                                 m_site.settings().IgnoreJavaScript, m_site.settings().isSpaceValid,
                                 std::string(ExtractFileName(FullPath))};
    PageLinks page;
    const auto takeLists = [this, &page] {
        Links = std::move(page.links);
        LinkPlaces = std::move(page.places);
        Anchors = std::move(page.anchors);
        Targets = std::move(page.targets);
    };
    if (m_site.Prefetcher) {
        Host &host = m_site.host();
        if (auto prepared = m_site.Prefetcher->Take(FullPath, context.options(),
                                                    [&host] { host.processEvents(); })) {
            ApplyPreparedPage(*prepared, context, page);
            takeLists();
            return;
        }
    }
    std::string &text = m_site.readBuffer();
    try {
        ReadFileAllInto(FullPath, m_site.host(), text);
    } catch (const OrvaneError &) {
        // An unreadable or binary page simply has no links; the user has
        // already been told where telling makes sense.
        return;
    }
    ExtractLinksFromText(text, context, page);
    takeLists();
}

std::pair<std::string, std::string> FileObject::SplitLink(const std::string &link) const
{
    std::string path = link;
    std::string anchor;
    if (!link.empty() && link.back() == '/')
        path += m_site.settings().DefaultFileName;
    if (StartsWith(path, "http:"))
        path.erase(0, 5);
    if (const size_t hash = path.find('#'); hash != std::string::npos) {
        anchor = path.substr(hash + 1);
        path.erase(hash);
    }
    if (const size_t query = path.find('?'); query != std::string::npos)
        path.erase(query);
    if (path.empty() && !anchor.empty())
        path = ExtractFileName(FullPath);
    return {std::move(path), std::move(anchor)};
}

WalkTarget FileObject::walkTarget(const std::string &path, const std::string &anchor) const
{
    FileObject *target = m_site.FileObjects.FindFileObject(
        m_site.project().LinkToPath(FullPath, path), m_site.settings().IgnoreCase);
    return {target, anchorIndexIn(target, anchor)};
}

LinkCheck FileObject::ClassifyLinks() const
{
    LinkCheck check;
    const Settings &settings = m_site.settings();
    const Project &project = m_site.project();
    auto valid = [&](size_t i, WalkTarget target) {
        check.valid.push_back(static_cast<uint32_t>(i));
        check.walkTargets.push_back(target);
    };
    auto invalid = [&](size_t i) { check.invalid.push_back(static_cast<uint32_t>(i)); };
    auto external = [&](size_t i) { check.external.push_back(static_cast<uint32_t>(i)); };
    for (size_t i = 0; i < Links.size(); ++i) {
        const std::string &entry = Links[i];
        if (entry.empty())
            continue; // an empty value names no target at all
        const auto [path, anchor] = SplitLink(entry);
        if (isSiteInternal(entry)) {
            if (entry.front() == '/') {
                if (project.ServerRoot().empty())
                    external(i);
                else if (FileExists(project.LinkToPath(FullPath, path)))
                    valid(i, walkTarget(path, anchor));
                else
                    invalid(i);
            } else if (!path.empty() || !anchor.empty()) {
                FileObject *target = m_site.FileObjects.FindFileObject(
                    project.LinkToPath(FullPath, path), settings.IgnoreCase);
                const int32_t anchorIndex = anchorIndexIn(target, anchor);
                if (target && (anchor.empty() || anchorIndex >= 0))
                    valid(i, {target, anchorIndex});
                else
                    invalid(i);
            }
        } else if (!StartsWithText(entry, "file://")) {
            external(i);
        } else if (settings.CheckLocalFile == 0) {
            invalid(i);
        } else {
            // A network path ("//host/...") cannot be reached from here; the
            // system would take it for a local one.
            const auto local = FileUrlToPath(path);
            if (local && !StartsWith(*local, "//") && FileExists(*local))
                valid(i, walkTarget(path, anchor));
            else
                invalid(i);
        }
    }
    return check;
}

void FileObject::ApplyLinkCheck(LinkCheck check)
{
    ValidLinks.Assign(std::move(check.valid));
    InvalidLinks.Assign(std::move(check.invalid));
    ExternalLinks.Assign(std::move(check.external));
    // The walk follows the valid links again with the same resolution, so it
    // keeps what is found here as long as nothing it depends on changes.
    m_walkTargets = std::move(check.walkTargets);
    m_walkStamp = m_site.ResolutionStamp();
    UpdateImage();
    if (!InvalidLinks.empty()) {
        m_site.InvalidLinkTotal += static_cast<long>(InvalidLinks.size());
        ++m_site.FilesWithInvalidLinks;
    }
}

void FileObject::CheckLinks()
{
    ApplyLinkCheck(ClassifyLinks());
}

void ForgetFileObject(FileObject *object)
{
    Site &site = object->OwnerSite();
    site.project().ForgetFile(object->FullPath);
    object->Node->SetData(nullptr);
    site.FileObjects.Destroy(object);
}

} // namespace orvane
