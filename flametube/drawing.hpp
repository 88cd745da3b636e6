#pragma once
// One drawing, in millimetres, that every writer draws the same way: pages of lines, circles and
// texts, with y downwards from the page's top left corner. The template's SVG and PDF and the
// section's pictures all come from here, so what one shows the other shows.

#include <string>
#include <vector>

namespace flametube {

struct Point {
    double x = 0, y = 0;
};

struct Line {
    Point a, b;
    double width = 0.25; // mm
    bool dashed = false;
};

struct Circle {
    Point centre;
    double radius = 0;
    double width = 0.25;
};

enum class Anchor { Start, Middle, End };

struct Text {
    Point at; // the baseline's start, middle or end
    std::string text;
    double size = 3.0; // the letters' height in mm (the font's size)
    Anchor anchor = Anchor::Start;
    double angle = 0; // degrees, clockwise as y points down
    bool bold = false;
};

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
};

struct Page {
    double width = 0, height = 0; // the paper, mm
    Rect clip;                    // what of the drawn parts shows; texts are never clipped
    std::vector<Line> lines;
    std::vector<Circle> circles;
    std::vector<Text> texts;      // never clipped
    std::vector<Line> frameLines; // never clipped (scale bars, marks outside the tile)
};

struct Drawing {
    std::string title;
    std::vector<Page> pages;
};

// A rough width of a text, for laying out: the program's fonts run about 0.55 of the height a
// letter on average.
double textWidth(const std::string& text, double size);

} // namespace flametube
