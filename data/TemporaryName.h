#pragma once
// Names for the new file that a save writes beside its target before it takes the target's place.

#include <string>

// The path of the attempt'th candidate: the target's path with the last characters of its file
// name (up to four) replaced by "~" and a hexadecimal counter, or by one hexadecimal digit when
// the name has a single character. It is never longer than the target's path, so it fits wherever
// the target fits. TemporaryNameCount(target) attempts give distinct names.
std::string TemporaryName(const std::string& target, unsigned attempt);
unsigned TemporaryNameCount(const std::string& target);
