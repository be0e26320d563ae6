#pragma once

// Texts read out of a markup's properties and addresses: image captions, the instruction
// text, the folder of a web package.

#include <string>
#include <vector>

namespace lectoro {

// Each property "captions:<key>=<caption>#$#<key>=<caption>..." gives its captions in
// order. A property or item is split at its first ":" or "=", so captions may hold
// either; items without "=" and properties of other names add nothing.
std::vector<std::string> imageCaptions(const std::vector<std::string>& properties);

// The text of the last ";"-separated entry that begins with "instruction": everything
// after its first ":" ("" when it has none).
std::string instructionText(const std::string& properties);

// An address text with every "/index.html" removed: the package's folder.
std::string webPackageFolder(const std::string& address);

} // namespace lectoro
