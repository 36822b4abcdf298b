#pragma once
// A 5 x 7 pixel font for the words the pictures carry: capital letters, digits and "+-.:!' ".
// Text is laid out in cells: six columns a character (one of them blank), seven rows.

namespace artgen {

// Whether the point lies on a lit cell of the text, written from (left, top) in cells of the size.
// Characters the font lacks are blank.
bool onText(const char* text, float left, float top, float cell, float x, float y);
// The width of the text in cells of the size (no blank column after the last character).
float textWidth(const char* text, float cell);

} // namespace artgen
