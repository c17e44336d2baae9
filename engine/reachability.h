#pragma once

namespace orvane {

class Site;
class TreeNode;

/// The whole analysis: walks from the top pages, applies the excluded files,
/// updates every file's picture and colours the folders.
void AnalyseReachability(Site &site);

/// Makes the page of node a top page and analyses again.
void MarkTopAndAnalyse(Site &site, TreeNode *node);

/// Walks from every top page of the project; drops entries with no node.
void WalkFromTopPages(Site &site);
/// Marks every excluded file of the project; drops entries with no node.
void ApplyIgnoreList(Site &site);
/// Marks node's file reached and, depth first, every file its valid links lead
/// to that is not excluded and not yet reached, with the anchors they name.
void WalkFrom(Site &site, TreeNode *node);
/// Yellow for every folder, then cyan for the chain above every problem file.
void ColourFolders(Site &site);
/// Colours node and its ancestors cyan, up to the root or a cyan folder.
void MarkFolderChain(Site &site, TreeNode *node);

} // namespace orvane
