#pragma once
// A drawing on a QPainter and as a PDF at exact scale: the painter works in millimetres, and a
// PDF page is as large as the drawing's paper, with no margins of Qt's own.

#include "drawing.hpp"

class QIODevice;
class QPainter;

namespace flametube {

// Draws the page with the painter's unit taken as one millimetre.
void paintPage(QPainter& painter, const Page& page);

// Every page of the drawing as a PDF page of its paper's size; false when it cannot be written.
bool writePdf(QIODevice* out, const Drawing& drawing);

} // namespace flametube
