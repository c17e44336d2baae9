#include "engine/fileobject.h"

#include "base/host.h"
#include "base/strutil.h"
#include "base/urlpath.h"
#include "base/usertext.h"
#include "engine/checkrun.h"
#include "engine/filenames.h"
#include "engine/filetree.h"
#include "engine/fileurl.h"
#include "engine/linkextract.h"
#include "engine/pageprefetch.h"
#include "engine/readfileall.h"
#include "engine/site.h"
#include "engine/targetlookahead.h"
#include "project/project.h"

#include <optional>
#include <tuple>

namespace orvane {

namespace {

// The targets of a page the walk fetches before it comes to the page: as many
// as it fetches ahead of the link it follows.
constexpr size_t WalkFirstTargets = 8;

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
bool isSiteInternal(std::string_view entry)
{
    // Each of those has a colon, which most links of a site have not.
    if (entry.find(':') == std::string_view::npos)
        return true;
    return entry.find("://") == std::string_view::npos && !containsText(entry, "MAILTO:") &&
           !containsText(entry, "NEWS:");
}

/// The decoded form of a link part when decoding changes it.
std::optional<std::string> decodedForm(const std::string &text)
{
    if (FindEither(text, '%', '&') == std::string::npos)
        return std::nullopt;
    std::string decoded = DecodeLinkEscapes(text);
    if (decoded == text)
        return std::nullopt;
    return decoded;
}

void addValid(LinkCheck &check, size_t i, WalkTarget target)
{
    check.valid.push_back(static_cast<uint32_t>(i));
    check.walkTargets.push_back(target);
}

void addInvalid(LinkCheck &check, size_t i, InvalidReason reason)
{
    check.invalid.push_back(static_cast<uint32_t>(i));
    check.invalidReasons.push_back(reason);
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

void FileObject::LoadFromFile(const std::string &path, bool regularFile)
{
    FullPath = path;
    m_site.FileObjects.IndexPath(this);
    Kind = regularFile ? ClassifyExtension(m_site.settings(), AsciiUpper(ExtractFileExt(path)))
                       : FileKind::other;
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
    m_site.host().setStatus(Tr(QT_TRANSLATE_NOOP("Orvane", "%1 - ファイルイメージのセット中"),
                               {ExtractFileName(FullPath)}));
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
        LinkPlaces = LinkPlaceTable(page.places);
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

std::pair<std::string, std::string> FileObject::SplitLink(std::string_view link) const
{
    std::pair<std::string, std::string> parts;
    SplitLinkInto(link, parts.first, parts.second);
    return parts;
}

void FileObject::SplitLinkInto(std::string_view link, std::string &path, std::string &anchor) const
{
    path.assign(link);
    anchor.clear();
    if (!link.empty() && link.back() == '/')
        path += m_site.settings().DefaultFileName;
    if (StartsWith(path, "http:"))
        path.erase(0, 5);
    if (const size_t hash = path.find('#'); hash != std::string::npos) {
        anchor.assign(path, hash + 1);
        path.erase(hash);
    }
    if (const size_t query = path.find('?'); query != std::string::npos)
        path.erase(query);
    if (path.empty() && !anchor.empty())
        path = ExtractFileName(FullPath);
}

bool FileObject::modernLinks() const
{
    return m_site.settings().ModernLinks;
}

std::string_view FileObject::LinkTarget(size_t linkIndex) const
{
    const std::string_view link = Links[linkIndex];
    if (LinkPlaces.QuotedRefresh(linkIndex) && modernLinks())
        return UnquotedRefreshTarget(link);
    return link;
}

FileObject *FileObject::findTarget(const std::string &path) const
{
    const std::string full = m_site.project().LinkToPath(FullPath, path);
    return findResolvedTarget(path, full, PathIndex::FoldedHash(full));
}

FileObject *FileObject::findResolvedTarget(const std::string &path, const std::string &full,
                                           uint64_t fullHash) const
{
    const Project &project = m_site.project();
    const bool ignoreCase = m_site.settings().IgnoreCase;
    FileObject *target = m_site.FileObjects.Index().Find(full, fullHash, ignoreCase);
    if (target || !modernLinks())
        return target;
    // "my%20page.html" names "my page.html" for a browser.
    const auto decoded = decodedForm(path);
    return decoded ? m_site.FileObjects.FindFileObject(project.LinkToPath(FullPath, *decoded),
                                                       ignoreCase)
                   : nullptr;
}

int32_t FileObject::anchorIndexIn(const FileObject &target, const std::string &anchor) const
{
    const int32_t index = target.Anchors.IndexOf(anchor);
    if (index >= 0 || !modernLinks())
        return index;
    const auto decoded = decodedForm(anchor);
    return decoded ? target.Anchors.IndexOf(*decoded) : -1;
}

bool FileObject::isFragmentTarget(const FileObject &target, const std::string &anchor) const
{
    // Browsers scroll to the element with that id, and "#top" to the top of
    // the document even when nothing carries that name.
    const auto names = [&target](std::string_view fragment) {
        return target.Targets.Contains(fragment) || SameText(fragment, "top");
    };
    if (names(anchor))
        return true;
    const auto decoded = decodedForm(anchor);
    return decoded && names(*decoded);
}

WalkTarget FileObject::walkTarget(const std::string &path, const std::string &anchor) const
{
    FileObject *target = findTarget(path);
    return WalkTarget::To(target, target && !anchor.empty() ? anchorIndexIn(*target, anchor) : -1);
}

WalkTarget FileObject::ResolveWalkTarget(size_t linkIndex) const
{
    const std::string_view link = LinkTarget(linkIndex);
    if (link.empty())
        return {};
    const auto [path, anchor] = SplitLink(link);
    return walkTarget(path, anchor);
}

void FileObject::classifyRootRelative(size_t i, const std::string &path, const std::string &anchor,
                                      LinkCheck &check) const
{
    const Project &project = m_site.project();
    const auto exists = [&](const std::string &p) {
        return FileExists(project.LinkToPath(FullPath, p));
    };
    bool found = exists(path);
    if (!found && modernLinks()) {
        const auto decoded = decodedForm(path);
        found = decoded && exists(*decoded);
    }
    // The fragment of a link checked against the disk is not looked at.
    if (found)
        addValid(check, i, walkTarget(path, anchor));
    else
        addInvalid(check, i, InvalidReason::missingFile);
}

void FileObject::classifyInSite(size_t i, const ParsedLink &link, LinkCheck &check,
                                TargetMemo &memo) const
{
    const std::string &anchor = link.anchor;
    if (!link.full.empty())
        memo.target = findResolvedTarget(link.path, link.full, link.fullHash);
    FileObject *target = memo.target;
    if (!target) {
        addInvalid(check, i, InvalidReason::missingFile);
        return;
    }
    const int32_t anchorIndex = anchor.empty() ? -1 : anchorIndexIn(*target, anchor);
    if (anchor.empty() || anchorIndex >= 0 || (modernLinks() && isFragmentTarget(*target, anchor)))
        addValid(check, i, WalkTarget::To(target, anchorIndex));
    else
        addInvalid(check, i, InvalidReason::missingAnchor);
}

void FileObject::classifyFileUrl(size_t i, const std::string &path, const std::string &anchor,
                                 LinkCheck &check) const
{
    if (m_site.settings().CheckLocalFile == 0) {
        addInvalid(check, i, InvalidReason::fileUrl);
        return;
    }
    // A network path ("//host/...") cannot be reached from here; the system
    // would take it for a local one.
    const auto exists = [](const std::string &url) {
        const auto local = FileUrlToPath(url);
        return local && !StartsWith(*local, "//") && FileExists(*local);
    };
    bool found = exists(path);
    if (!found && modernLinks()) {
        const auto decoded = decodedForm(path);
        found = decoded && exists(*decoded);
    }
    if (found)
        addValid(check, i, walkTarget(path, anchor));
    else
        addInvalid(check, i, InvalidReason::missingFile);
}

void FileObject::parseLink(size_t i, ParsedLink &link, std::string &lastPath) const
{
    using Kind = ParsedLink::Kind;
    link.full.clear();
    const std::string_view entry = LinkTarget(i);
    if (entry.empty()) {
        link.kind = Kind::none; // an empty value names no target at all
        return;
    }
    if (!isSiteInternal(entry)) {
        link.kind = StartsWithText(entry, "file://") ? Kind::fileUrl : Kind::external;
    } else if (entry.front() == '/') {
        link.kind = m_site.project().ServerRoot().empty() ? Kind::external : Kind::rootRelative;
    } else {
        link.kind = Kind::inSite;
    }
    if (link.kind == Kind::external)
        return;
    SplitLinkInto(entry, link.path, link.anchor);
    if (link.kind != Kind::inSite)
        return;
    if (link.path.empty() && link.anchor.empty()) {
        link.kind = Kind::none;
    } else if (link.path != lastPath) {
        // Links to one file with different fragments follow each other in
        // the sorted list: the path is resolved for the first of them only.
        lastPath = link.path;
        m_site.project().LinkToPathInto(FullPath, link.path, link.full);
        link.fullHash = PathIndex::FoldedHash(link.full);
    }
}

void FileObject::classifyLink(size_t i, const ParsedLink &link, LinkCheck &check,
                              TargetMemo &memo) const
{
    switch (link.kind) {
    case ParsedLink::Kind::none:
        return;
    case ParsedLink::Kind::external:
        check.external.push_back(static_cast<uint32_t>(i));
        return;
    case ParsedLink::Kind::rootRelative:
        classifyRootRelative(i, link.path, link.anchor, check);
        return;
    case ParsedLink::Kind::inSite:
        classifyInSite(i, link, check, memo);
        return;
    case ParsedLink::Kind::fileUrl:
        classifyFileUrl(i, link.path, link.anchor, check);
        return;
    }
}

LinkCheck FileObject::ClassifyLinks() const
{
    LinkCheck check;
    // Most links of a page are valid. The lists are kept for as long as the
    // page is, so none of them keeps room it does not use (the link subsets
    // take copies of their exact size).
    check.valid.reserve(Links.size());
    check.walkTargets.reserve(Links.size());
    TargetLookAhead ahead(m_site.FileObjects.Index(), Links.size());
    std::string lastPath;
    const auto parse = [&](size_t j, ParsedLink &link) { parseLink(j, link, lastPath); };
    TargetMemo memo;
    for (size_t i = 0; i < Links.size(); ++i)
        classifyLink(i, ahead.Advance(i, parse), check, memo);
    check.invalidReasons.shrink_to_fit();
    check.walkTargets.shrink_to_fit();
    return check;
}

void FileObject::ApplyLinkCheck(LinkCheck check)
{
    ValidLinks.Assign(std::move(check.valid));
    InvalidLinks.Assign(std::move(check.invalid));
    ExternalLinks.Assign(std::move(check.external));
    InvalidReasons = std::move(check.invalidReasons);
    // The walk follows the valid links again with the same resolution, so it
    // keeps what is found here as long as nothing it depends on changes.
    m_walkTargets = std::move(check.walkTargets);
    m_walkStamp = m_site.ResolutionStamp();
    ++m_site.LinkChecks;
    UpdateImage();
    if (!InvalidLinks.empty()) {
        m_site.InvalidLinkTotal += static_cast<long>(InvalidLinks.size());
        ++m_site.FilesWithInvalidLinks;
    }
}

void FileObject::Prefetch(int step, bool anchors) const
{
    // A valid link is kept as its target's node, or for a fragment as the
    // node of the anchor, found among the node's children.
    switch (step) {
    case 0:
        __builtin_prefetch(&FullPath);
        if (anchors)
            __builtin_prefetch(&Anchors);
        break;
    case 1:
        __builtin_prefetch(FullPath.data());
        if (anchors) {
            Anchors.Prefetch();
            __builtin_prefetch(Node);
        }
        break;
    default:
        if (anchors)
            Node->PrefetchChildren();
        break;
    }
}

void FileObject::PrefetchForWalk(int step, uint64_t resolutionStamp) const
{
    if (step == 0) {
        __builtin_prefetch(&m_walkTargets);
        return;
    }
    const WalkTargetList *targets = WalkTargets(resolutionStamp);
    if (!targets)
        return;
    if (step == 1) {
        targets->PrefetchList();
        return;
    }
    for (size_t i = 0; i < WalkFirstTargets; ++i)
        targets->Prefetch(i, false);
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

WalkTarget WalkTarget::To(FileObject *object, int32_t anchorIndex)
{
    if (!object)
        return {};
    const TreeNode *node = object->Node;
    const bool hasNode =
        node && anchorIndex >= 0 && static_cast<size_t>(anchorIndex) < node->Count();
    return {object, anchorIndex, hasNode ? node->Child(static_cast<size_t>(anchorIndex)) : nullptr};
}

void WalkTargetList::push_back(WalkTarget target)
{
    if (target.anchorNode)
        m_nodes.push_back(target.anchorNode);
    else
        m_nodes.push_back(target.object ? target.object->Node : nullptr);
}

void WalkTargetList::Prefetch(size_t i, bool objectToo) const
{
    if (i >= m_nodes.size() || !m_nodes[i])
        return;
    const TreeNode *node = m_nodes[i];
    if (!objectToo) {
        __builtin_prefetch(node);
        return;
    }
    // An anchor's page is its parent's; the parent node is fetched instead.
    if (node->ImageIndex() == ImgAnchor)
        __builtin_prefetch(node->Parent());
    else
        __builtin_prefetch(node->Data());
}

WalkTarget WalkTargetList::operator[](size_t i) const
{
    TreeNode *node = m_nodes[i];
    if (!node)
        return {};
    if (node->ImageIndex() == ImgAnchor)
        return {node->Parent()->Data(), static_cast<int32_t>(node->Index()), node};
    return {node->Data(), -1, nullptr};
}

} // namespace orvane
