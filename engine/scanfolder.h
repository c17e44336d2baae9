#pragma once

#include <string>

namespace orvane {

class Site;
class TreeNode;

/// Lists folder recursively into parentNode: under every folder first the
/// sub-folders, then the files, each group in case-insensitive order (of names
/// equal without case the first listed stays). Files matching a wildcard
/// pattern and folders under a folder pattern get no node. A folder that
/// cannot be listed stays empty, and so does one the scan does not enter: a
/// loop, a link back to folder or to a folder above it, a folder met through
/// a symbolic link a second time, a folder of a pseudo file system (proc,
/// sysfs, devtmpfs...). FIFOs, devices and sockets become files of kind other
/// and are never opened. Paths of any length are scanned. Stops early when
/// the halt flag is set.
void ScanFolder(Site &site, const std::string &folder, TreeNode *parentNode);

/// Adds the node and file object of one file, with its anchor nodes. A file
/// that is not a regular file (a FIFO, a device) is of kind other, unread.
void AddFileNode(Site &site, const std::string &path, TreeNode *parentNode,
                 bool regularFile = true);

} // namespace orvane
