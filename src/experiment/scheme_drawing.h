#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/picture.h"

namespace quorvel::experiment {

// Sizes and angles the drawing reads (angles in radians, lengths in metres, ML in metres
// per drawing unit).
struct SchemeParameters {
  double Alfa1 = 0, Alfa2 = 0, Alfa3 = 0, Alfa4 = 0;
  double mirrorWidth = 0;     // W
  double plateThickness = 0;  // T, metres
  double cylinderSize = 0;    // R
  double ML = 0.1;
};

// The prism setup's drawing options (check boxes Check3, Check17, Check25).
struct PrismOptions {
  bool halfAngle = false;     // Check3 "+ Alfa3=Alfa3/2"
  bool fourthMirror = false;  // Check17 "++ Alfa4"
  bool cylinder = false;      // Check25 "+ цилиндр "
};

// The legends printed above the scheme, at (−12, 24.9), and the headers of the table of
// angles below them, at (−12, 22.9). "вехнее" is the program's own spelling.
inline constexpr std::string_view kBeamSplitterLegend =
    " 1- левое зеркало   2- вехнее зеркало  3- полупрозрачное зеркало   4- прозрачная "
    "пластина \r\n  5- источник света   6- объектив трубы или экран\r\n\r\n";
inline constexpr std::string_view kBeamSplitterAngleHeader =
    "       углы наклона движущихся поверхностей                                углы под "
    "которыми движутся лучи";
inline constexpr std::string_view kPrismLegend =
    " 1- левое зеркало   2- правое зеркало  3- зеркальная призма  4- зеркало  5- источник "
    "света  \r\n  6- объектив трубы или экран  \r\n\r\n";
inline constexpr std::string_view kPrismAngleHeader =
    "       углы наклона движущихся поверхностей                                 углы под "
    "которыми движутся лучи";

// A rectangle of pixels, edges included.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool meets(const PixelRect& o) const {
    return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
  }
};

// The pixels of one outline as the painter draws it: its kind, whole pixels and colour,
// and the rectangle of pixels it can cover.
struct OutlinePixels {
  std::array<std::int64_t, 6> key{};
  PixelRect covered;
};

// What the last animation redraw drew, so that outlines whose redraw cannot change a pixel
// are not redrawn. Every primitive goes to the painter in whole pixels, so an outline that
// is erased and drawn again on the same pixels, over pixels nothing has drawn on since,
// leaves them as they are; the outlines that moved are erased and drawn as a full redraw
// would, together with every outline whose pixels they could reach. Drawings made since the
// redraw are reported through touch(); any other change of the picture shows in its
// revision and makes the next redraw a full one.
struct RedrawMemo {
  std::vector<OutlinePixels> drawn;  // the outlines as drawn last
  std::vector<PixelRect> touched;    // drawn on since, through touch()
  std::uint64_t revision = 0;        // the picture's revision after the last redraw
  bool valid = false;
  long long outlinesSkipped = 0;  // for the figures
  long long outlinesDrawn = 0;

  void touch(const PixelRect& rect) { touched.push_back(rect); }
  void invalidate() { valid = false; }
};

// The scheme picture of the experiment window. The drawing is incremental: a redraw paints
// the outlines stored at the last redraw in white and then the new ones, so moving
// elements animate over the grid without clearing it. All positions come from and go to
// the point table X, Y (metres); every coordinate is drawn as metres / ML.
//
// Point table slots written here: 10e+1..10e+4 the corners of element e as drawn last
// (10e+1 and 10e+3 the ends of the working face), 10e+5..10e+8 their copies used to
// erase; 31, 32 the prism's base corners and 33..35 the copy of apex and base; 55 the
// source centre and 66 the beam-splitter screen centre as drawn last; 61..64 the prism
// screen plate and 71..74 the cylinder with their copies 65..68 and 75..78.
class SchemeDrawing {
 public:
  SchemeDrawing(platform::Picture& picture, std::array<double, 131>& X, std::array<double, 131>& Y)
      : picture_(picture), X_(X), Y_(Y) {}

  // Scale (−14, 25)–(16, −5), the grey grid every 2 units with its numbers, the axes.
  void drawGrid();
  // Erase the old outlines, draw the elements at X(1..6), Y(1..6), store the corners. With
  // a memo, a redraw that cannot change a pixel only stores the corners.
  void redrawBeamSplitter(const SchemeParameters& p, RedrawMemo* memo = nullptr);
  // The same for the prism setup, also using X(7), Y(7) and the options.
  void redrawPrism(const SchemeParameters& p, const PrismOptions& options,
                   RedrawMemo* memo = nullptr);
  // Legend, angle table header and the element numbers beside the elements.
  void drawBeamSplitterLegend(const SchemeParameters& p);
  void drawPrismLegend(const SchemeParameters& p, const PrismOptions& options);

 private:
  // Corners 10e+1..10e+4 of element e about its centre (X(e), Y(e)), tilted by `angle`,
  // with the plate on the side s·(−sin, cos) of the working face.
  void placeElement(int e, double angle, double side, const SchemeParameters& p);
  // The four sides first→first+1, first+1→first+3, first+2→first+3, first+2→first.
  void drawQuad(int first, platform::Color color, double ML);
  void drawSegment(int from, int to, platform::Color color, double ML);
  void copyPoints(int from, int to, int count);
  void printAt(double x, double y, std::string_view text);

  // The primitives of a redraw go through these: drawn at once, or recorded while a redraw
  // with a memo decides whether to draw them.
  struct Primitive {
    enum Kind { Line, Circle, Box } kind;
    double x1, y1, x2, y2;  // Line, Box: the two points; Circle: centre and radius in x2
    std::optional<platform::Color> color;
  };
  void emitLine(double x1, double y1, double x2, double y2, platform::Color color);
  void emitCircle(double x, double y, double r, platform::Color color);
  void emitBox(double x1, double y1, double x2, double y2, std::optional<platform::Color> color);
  void draw(const Primitive& primitive);
  // Ends a redraw run in recording mode: draws what was recorded unless nothing would change.
  void finishRedraw(RedrawMemo& memo, std::size_t eraseCount);
  OutlinePixels pixelsOf(const Primitive& primitive) const;

  std::vector<Primitive>* recording_ = nullptr;

  platform::Picture& picture_;
  std::array<double, 131>& X_;
  std::array<double, 131>& Y_;
};

// What the "Очистить рисунок" button does once the window has read its fields: clear, grid,
// load the points (X(1),Y(1),X(2),Y(2),X(3)=Y(3)=0,X(4)=0,Y(4),X(5)=0,Y(5), X(6)/Y(6) by
// setup, X(7)/Y(7) for the prism), redraw the chosen setup and print its legend.
struct SchemeInput {
  double X1, Y1, X2, Y2, Y4, Y5;
  double screen;  // Text8: X(6) for the beam-splitter setup, Y(6) for the prism setup
  bool prism;     // Option8 chosen
};

void clearAndDrawScheme(platform::Picture& picture, std::array<double, 131>& X,
                        std::array<double, 131>& Y, const SchemeInput& input,
                        const SchemeParameters& p, const PrismOptions& options);

}  // namespace quorvel::experiment
