#pragma once

#include <string>

namespace orvane {

class Site;
class TreeNode;

/// Lists folder recursively into parentNode: under every folder first the
/// sub-folders, then the files, each group in case-insensitive order (of names
/// equal without case the first listed stays). Files matching a wildcard
/// pattern and folders under a folder pattern get no node. A folder that
/// cannot be listed, or that leads back to a folder being scanned, stays empty.
/// Stops early when the halt flag is set.
void ScanFolder(Site &site, const std::string &folder, TreeNode *parentNode);

/// Adds the node and file object of one file, with its anchor nodes.
void AddFileNode(Site &site, const std::string &path, TreeNode *parentNode);

} // namespace orvane
