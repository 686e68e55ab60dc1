// Running the outside tools that check files we write (pdftotext, emf2svg, hb-shape...).
#pragma once

#include <string>

namespace wbtest {

// What the shell command writes to its standard output; empty when it cannot run.
std::string RunCommand(const std::string &command);
// Whether the tool is on the PATH; tests that need it skip without it.
bool HaveTool(const std::string &name);
// The text pdftotext reads from one page (1-based) of a PDF file, in reading order ("-raw").
std::string PdfPageText(const std::string &file, int page);

} // namespace wbtest
