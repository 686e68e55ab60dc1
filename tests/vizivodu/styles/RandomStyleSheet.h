// Test support for style sheet persistence: style sheets filled with random values that every
// stored form can hold, and a field-by-field text dump of a sheet to compare two sheets.
#pragma once

#include "vizivodu/styles/VDStyle.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vizivodu::test {

// Fills sheet with random sheet settings, text, paragraph and list styles (borders,
// backgrounds, tab stops, marker fonts and pictures) and style templates with parent chains; the
// same seed gives the same sheet. Only values that the stored forms keep are chosen: list levels
// start from 1, template styles differ from the defaults only in their valid properties.
void FillRandomStyleSheet(TVDStyle &sheet, std::mt19937 &random);
// Random templates with parent and next links, into templates.
void FillRandomTemplates(TVDStyleTemplateCollection &templates, std::mt19937 &random);

// A small bitmap of random opaque pixels.
std::unique_ptr<gfx::TGraphic> RandomPicture(std::mt19937 &random);
// "none", or the graphic's class name and its saved bytes in hexadecimal.
std::string PictureText(const gfx::TGraphic *graphic);

// One line "where.field=value" for every stored field of the sheet, its styles and templates.
std::vector<std::string> DumpStyleSheet(const TVDStyle &sheet);
std::vector<std::string> DumpTemplates(const TVDStyleTemplateCollection &templates);

} // namespace vizivodu::test
