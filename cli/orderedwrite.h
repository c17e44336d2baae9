#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

namespace orvane::cli {

/// Writes render(i, text) for every i in [0, count) to out in order: a batch
/// of items is rendered on every core, then written. render must only read what the check left
/// behind (it runs on several threads at once) and appends item i's text to the string it is given.
void WriteInOrder(std::ostream &out, size_t count,
                  const std::function<void(size_t, std::string &)> &render);

} // namespace orvane::cli
