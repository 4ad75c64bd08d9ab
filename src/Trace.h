#pragma once

#include <string>

// The console trace. Both threads write to it; each call writes its text as one block, so the
// lines of a transmission and of a receive cycle never interleave.
namespace Trace {

void write(const std::string& block);

// One line: the text and a line end.
void line(const std::string& text);

} // namespace Trace
