#include "svg_writer.hpp"

#include "figures_text.hpp"

#include <algorithm>

namespace flametube {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Three decimals of a millimetre: a micrometre, far finer than any print.
std::string n(double v) {
    return fixed(v, 3);
}

void line(std::string& out, const Line& l) {
    out += "<line x1=\"" + n(l.a.x) + "\" y1=\"" + n(l.a.y) + "\" x2=\"" + n(l.b.x) + "\" y2=\"" +
           n(l.b.y) + "\" stroke-width=\"" + n(l.width) + "\"" +
           (l.dashed ? " stroke-dasharray=\"2 1\"" : "") + "/>\n";
}

} // namespace

std::string svgText(const Drawing& drawing) {
    double width = 0, height = 0;
    for (const Page& p : drawing.pages) {
        width = std::max(width, p.width);
        height += p.height;
    }
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                      n(width) + "mm\" height=\"" + n(height) + "mm\" viewBox=\"0 0 " + n(width) +
                      " " + n(height) + "\">\n<title>" + escaped(drawing.title) + "</title>\n";
    double top = 0;
    for (std::size_t i = 0; i < drawing.pages.size(); ++i) {
        const Page& p = drawing.pages[i];
        const std::string id = "tile" + std::to_string(i + 1);
        out += "<g id=\"page" + std::to_string(i + 1) + "\" transform=\"translate(0 " + n(top) +
               ")\">\n";
        out += "<rect x=\"0\" y=\"0\" width=\"" + n(p.width) + "\" height=\"" + n(p.height) +
               "\" fill=\"white\" stroke=\"none\"/>\n";
        out += "<clipPath id=\"" + id + "\"><rect x=\"" + n(p.clip.x) + "\" y=\"" + n(p.clip.y) +
               "\" width=\"" + n(p.clip.width) + "\" height=\"" + n(p.clip.height) +
               "\"/></clipPath>\n";
        out += "<g clip-path=\"url(#" + id + ")\" stroke=\"black\" fill=\"none\">\n";
        for (const Line& l : p.lines)
            line(out, l);
        for (const Circle& c : p.circles)
            out += "<circle cx=\"" + n(c.centre.x) + "\" cy=\"" + n(c.centre.y) + "\" r=\"" +
                   n(c.radius) + "\" stroke-width=\"" + n(c.width) + "\"/>\n";
        out += "</g>\n<g stroke=\"black\" fill=\"none\">\n";
        for (const Line& l : p.frameLines)
            line(out, l);
        out += "</g>\n<g font-family=\"sans-serif\" fill=\"black\">\n";
        for (const Text& t : p.texts) {
            out += "<text x=\"" + n(t.at.x) + "\" y=\"" + n(t.at.y) + "\" font-size=\"" +
                   n(t.size) + "\"";
            if (t.anchor != Anchor::Start)
                out +=
                    t.anchor == Anchor::Middle ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
            if (t.bold)
                out += " font-weight=\"bold\"";
            if (t.angle != 0)
                out +=
                    " transform=\"rotate(" + n(t.angle) + " " + n(t.at.x) + " " + n(t.at.y) + ")\"";
            out += ">" + escaped(t.text) + "</text>\n";
        }
        out += "</g>\n</g>\n";
        top += p.height;
    }
    return out + "</svg>\n";
}

} // namespace flametube
