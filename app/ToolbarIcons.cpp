// The toolbar's icons: one drawing function per command, on a 16 × 15 grid
// whose pixel centres lie at half units, so one-unit lines fall on whole pixels.
//
//   1. Colours, pens and shapes shared by the drawings
//   2. Files, selection and the object tools
//   3. Texture tools
//   4. Camera tools and mouse axes
//   5. Camera presets, display modes, cage and grid
//   6. The table of commands

#include "app/ToolbarIcons.h"

#include "interaction/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <set>

namespace zelvane {

namespace {

// ---------------------------------------------------------------------------
// 1. Colours, pens and shapes

const QColor kInk(0x17, 0x3d, 0x22);   // outlines, as the program icon's
const QColor kLight(0x9b, 0xd3, 0x5a); // top faces
const QColor kMid(0x4f, 0xa5, 0x3a);   // left faces
const QColor kDark(0x2f, 0x7a, 0x32);  // right faces
const QColor kSand(0xe3, 0xbd, 0x62);
const QColor kPaleSand(0xf6, 0xe7, 0xbd);
const QColor kPaper(0xfb, 0xfa, 0xf4);
const QColor kRed(0xc8, 0x37, 0x2d);
const QColor kAxisGreen(0x2c, 0x8c, 0x2f);
const QColor kBlue(0x2e, 0x5f, 0xcf);
const QColor kGridLine(0x4f, 0x5e, 0x52);

QPen Line(const QColor& colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Fill(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& outline = kInk)
{
    p.setPen(Line(outline));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    path.closeSubpath();
    return path;
}

// A filled arrowhead whose tip is `tip`, pointing away from `from`.
void Arrowhead(QPainter& p, QPointF from, QPointF tip, const QColor& colour, qreal length = 3.5, qreal half = 2.5)
{
    const QPointF d = tip - from;
    const qreal n = std::hypot(d.x(), d.y());
    if (n == 0)
        return;
    const QPointF u = d / n;
    const QPointF side(-u.y(), u.x());
    const QPointF base = tip - u * length;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({tip, base + side * half, base - side * half}));
}

// A line with an arrowhead at its end (both ends with `twoWay`).
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, bool twoWay = false, qreal head = 3.5,
           qreal half = 2.5)
{
    const QPointF d = to - from;
    const qreal n = std::hypot(d.x(), d.y());
    const QPointF u = d / n;
    p.setPen(Line(colour));
    p.drawLine(twoWay ? from + u * (head - 1) : from, to - u * (head - 1));
    Arrowhead(p, from, to, colour, head, half);
    if (twoWay)
        Arrowhead(p, to, from, colour, head, half);
}

// An arc of a circle about `centre` from `startDegrees` turning `spanDegrees`
// (counter-clockwise on screen), ending in an arrowhead.
void CircularArrow(QPainter& p, QPointF centre, qreal radius, qreal startDegrees, qreal spanDegrees,
                   const QColor& colour, qreal width = 1.0)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setPen(Line(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, static_cast<int>(startDegrees * 16), static_cast<int>((spanDegrees - 25) * 16));
    auto at = [&](qreal degrees) {
        const qreal r = degrees * M_PI / 180;
        return centre + QPointF(std::cos(r), -std::sin(r)) * radius;
    };
    const qreal end = startDegrees + spanDegrees;
    Arrowhead(p, at(end - 40), at(end), colour, 4.0, 2.6);
}

// The small object the object tools act on: a cube in the program icon's
// three greens whose top face's front corner is at (x, y).
void SmallCube(QPainter& p, qreal x, qreal y, qreal size)
{
    const qreal h = size / 2;
    const QPointF t(x, y - size), r(x + size, y - h), f(x, y), l(x - size, y - h);
    const QPointF fb(x, y + size), rb(x + size, y + size - h), lb(x - size, y + size - h);
    Fill(p, Polygon({t, r, f, l}), kLight);
    Fill(p, Polygon({l, f, fb, lb}), kMid);
    Fill(p, Polygon({f, r, rb, fb}), kDark);
}

// A square tile of texture: three by three cells of sand and pale sand.
void TextureTile(QPainter& p)
{
    const QRectF tile(1.5, 1.5, 12, 12);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            p.setBrush((row + column) % 2 ? kPaleSand : kSand);
            p.drawRect(QRectF(1.5 + 4 * column, 1.5 + 4 * row, 4, 4));
        }
    p.setPen(Line(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawRect(tile);
}

// The symbol of a texture tool drawn over the tile: first a pale halo so it
// stays readable on the checks, then the symbol itself.
void OverTile(QPainter& p, const std::function<void(QPainter&, const QColor&)>& symbol)
{
    QImage halo(p.device()->width(), p.device()->height(), QImage::Format_ARGB32_Premultiplied);
    halo.fill(Qt::transparent);
    {
        QPainter h(&halo);
        h.setRenderHint(QPainter::Antialiasing);
        h.setTransform(p.transform());
        symbol(h, kInk);
        h.setCompositionMode(QPainter::CompositionMode_SourceIn);
        h.resetTransform();
        h.fillRect(halo.rect(), kPaper);
    }
    // The halo is the symbol widened by one unit in each direction.
    const qreal scale = p.transform().m11();
    const QTransform saved = p.transform();
    p.resetTransform();
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx || dy)
                p.drawImage(QPointF(dx * scale, dy * scale), halo);
    p.setTransform(saved);
    symbol(p, kInk);
}

// The four-way arrow of moving, about (cx, cy) with arms of `arm` units.
void FourWayArrow(QPainter& p, qreal cx, qreal cy, qreal arm, const QColor& colour)
{
    Arrow(p, QPointF(cx - arm, cy), QPointF(cx + arm, cy), colour, true, 3.0, 2.2);
    Arrow(p, QPointF(cx, cy - arm), QPointF(cx, cy + arm), colour, true, 3.0, 2.2);
}

// The cube of the camera presets in a dimetric view: top, left and right
// faces, and the hidden back corner for wireframes.
struct Cube {
    QPointF top{7.5, 1.5}, right{13.5, 4.5}, front{7.5, 7.5}, left{1.5, 4.5};
    QPointF frontBottom{7.5, 13.5}, rightBottom{13.5, 10.5}, leftBottom{1.5, 10.5}, backBottom{7.5, 8.5};

    QPainterPath Top() const { return Polygon({top, right, front, left}); }
    QPainterPath Left() const { return Polygon({left, front, frontBottom, leftBottom}); }
    QPainterPath Right() const { return Polygon({front, right, rightBottom, frontBottom}); }
};

// A cube in outline with one face in green: the face a camera preset looks at.
void CubeFacing(QPainter& p, QPainterPath (Cube::*face)() const)
{
    const Cube cube;
    for (auto side : {&Cube::Top, &Cube::Left, &Cube::Right})
        Fill(p, (cube.*side)(), side == face ? kMid : kPaper);
}

// ---------------------------------------------------------------------------
// 2. Files, selection and the object tools

void DrawOpen(QPainter& p)
{
    Fill(p, Polygon({{1.5, 2.5}, {6.5, 2.5}, {7.5, 3.5}, {13.5, 3.5}, {13.5, 12.5}, {1.5, 12.5}}), kSand.darker(125));
    Fill(p, Polygon({{3.5, 6.5}, {15.0, 6.5}, {13.0, 12.5}, {1.5, 12.5}}), kSand);
}

void DrawSave(QPainter& p)
{
    Fill(p, Polygon({{1.5, 1.5}, {11.5, 1.5}, {13.5, 3.5}, {13.5, 13.5}, {1.5, 13.5}}), kDark);
    Fill(p, Polygon({{4.5, 1.5}, {10.5, 1.5}, {10.5, 5.5}, {4.5, 5.5}}), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(8, 2, 1.5, 3));
    Fill(p, Polygon({{3.5, 8.5}, {11.5, 8.5}, {11.5, 13.5}, {3.5, 13.5}}), kPaper);
    p.setPen(Line(kGridLine));
    p.drawLine(QPointF(5, 10.5), QPointF(10, 10.5));
}

void DrawSelect(QPainter& p)
{
    QPainterPath pointer = Polygon({{4.5, 1.5}, {4.5, 12.5}, {7.2, 10.0}, {9.2, 14.0}, {11.0, 13.2}, {9.0, 9.3},
                                    {12.5, 9.3}});
    Fill(p, pointer, kPaper);
}

void DrawMove(QPainter& p)
{
    FourWayArrow(p, 7.5, 7.5, 7, kInk);
    SmallCube(p, 7.5, 7.0, 2.5);
}

void DrawRotate(QPainter& p)
{
    SmallCube(p, 7.5, 6.5, 3);
    CircularArrow(p, QPointF(7.5, 7.5), 6, 200, 300, kInk, 1.2);
}

void DrawScale(QPainter& p)
{
    p.setPen(QPen(kInk, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
    Fill(p, Polygon({{1.5, 8.5}, {6.5, 8.5}, {6.5, 13.5}, {1.5, 13.5}}), kMid);
    Arrow(p, QPointF(5, 10), QPointF(13, 2), kInk, false, 4.0, 2.5);
}

// ---------------------------------------------------------------------------
// 3. Texture tools

void DrawMoveTexture(QPainter& p)
{
    TextureTile(p);
    OverTile(p, [](QPainter& q, const QColor& c) { FourWayArrow(q, 7.5, 7.5, 5, c); });
}

void DrawRotateTexture(QPainter& p)
{
    TextureTile(p);
    OverTile(p, [](QPainter& q, const QColor& c) { CircularArrow(q, QPointF(7.5, 7.5), 4, 200, 300, c, 1.2); });
}

void DrawScaleTexture(QPainter& p)
{
    TextureTile(p);
    OverTile(p, [](QPainter& q, const QColor& c) { Arrow(q, QPointF(4, 11), QPointF(11.5, 3.5), c, true, 3.5, 2.3); });
}

// ---------------------------------------------------------------------------
// 4. Camera tools and mouse axes

void DrawPan(QPainter& p)
{
    // An open hand: four fingers, a thumb and the palm, in one outline.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(3.5, 6.5, 9, 7.5), 2.5, 2.5);
    const qreal tops[4] = {2.5, 1.5, 2.0, 3.5};
    for (int i = 0; i < 4; ++i)
        hand.addRoundedRect(QRectF(3.5 + 2.25 * i, tops[i], 2.25, 8), 1.1, 1.1);
    QPainterPath thumb;
    thumb.moveTo(4, 12);
    thumb.lineTo(1, 7.8);
    thumb.lineTo(2.4, 6.8);
    thumb.lineTo(5, 9);
    thumb.closeSubpath();
    hand = hand.united(thumb).simplified();
    Fill(p, hand, kSand);
    p.setPen(Line(kInk));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(3.5 + 2.25 * i, tops[i] + 3), QPointF(3.5 + 2.25 * i, 7.5));
}

void DrawZoom(QPainter& p)
{
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(13.6, 13.6));
    p.setPen(QPen(kSand, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.4, 10.4), QPointF(13.0, 13.0));
    QPainterPath lens;
    lens.addEllipse(QPointF(6.5, 6.5), 5, 5);
    Fill(p, lens, QColor(0xd8, 0xee, 0xf2));
    p.setPen(Line(Qt::white));
    p.drawArc(QRectF(3.5, 3.5, 6, 6), 100 * 16, 70 * 16);
}

// A sphere with a ring around it, the ring's front ending in an arrow.
void DrawOrbit(QPainter& p)
{
    const QRectF ring(0.5, 5.0, 14, 5);
    p.setPen(Line(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 0, 180 * 16); // behind the sphere
    QPainterPath sphere;
    sphere.addEllipse(QPointF(7.5, 7.0), 4, 4);
    Fill(p, sphere, kMid);
    p.setPen(Line(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 180 * 16, 150 * 16); // in front
    Arrowhead(p, QPointF(12.0, 9.9), QPointF(14.6, 7.6), kInk, 3.5, 2.4);
}

// A letter drawn with lines in a 7 × 8 box at (x, y).
void Letter(QPainter& p, char letter, qreal x, qreal y, const QColor& colour)
{
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (letter) {
    case 'X':
        path.moveTo(x, y);
        path.lineTo(x + 7, y + 8);
        path.moveTo(x + 7, y);
        path.lineTo(x, y + 8);
        break;
    case 'Y':
        path.moveTo(x, y);
        path.lineTo(x + 3.5, y + 4);
        path.lineTo(x + 7, y);
        path.moveTo(x + 3.5, y + 4);
        path.lineTo(x + 3.5, y + 8);
        break;
    default:
        path.moveTo(x, y);
        path.lineTo(x + 7, y);
        path.lineTo(x, y + 8);
        path.lineTo(x + 7, y + 8);
        break;
    }
    p.drawPath(path);
}

void DrawEffectX(QPainter& p)
{
    Letter(p, 'X', 4, 1.5, kRed);
    Arrow(p, QPointF(1, 12.5), QPointF(14.5, 12.5), kInk, true, 3.0, 2.2);
}

void DrawEffectY(QPainter& p)
{
    Letter(p, 'Y', 1.5, 3.5, kAxisGreen);
    Arrow(p, QPointF(12.5, 0.5), QPointF(12.5, 14.5), kInk, true, 3.0, 2.2);
}

void DrawEffectZ(QPainter& p)
{
    Letter(p, 'Z', 1.5, 1.5, kBlue);
    Arrow(p, QPointF(7.5, 14), QPointF(14.5, 7), kInk, true, 3.0, 2.2);
}

// ---------------------------------------------------------------------------
// 5. Camera presets, display modes, cage and grid

void DrawSimsView(QPainter& p)
{
    const Cube cube;
    Fill(p, cube.Top(), kLight);
    Fill(p, cube.Left(), kMid);
    Fill(p, cube.Right(), kDark);
    p.setPen(Line(kLight.lighter(125)));
    p.drawLine(QPointF(4.5, 3.0), QPointF(10.5, 6.0));
    p.drawLine(QPointF(10.5, 3.0), QPointF(4.5, 6.0));
}

void DrawFrontView(QPainter& p)
{
    CubeFacing(p, &Cube::Right);
}

void DrawTopView(QPainter& p)
{
    CubeFacing(p, &Cube::Top);
}

void DrawLeftView(QPainter& p)
{
    CubeFacing(p, &Cube::Left);
}

// A sphere in the view's wireframe: outline, equator and two meridians.
void DrawWireframe(QPainter& p)
{
    const QPointF c(7.5, 7.5);
    p.setPen(Line(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 6.5, 6.5);
    p.drawEllipse(c, 6.5, 2.5);
    p.drawEllipse(c, 2.5, 6.5);
}

void DrawShaded(QPainter& p)
{
    QRadialGradient light(QPointF(5.5, 5.0), 9, QPointF(5.0, 4.5));
    light.setColorAt(0, kLight.lighter(130));
    light.setColorAt(0.45, kMid);
    light.setColorAt(1, kDark.darker(140));
    QPainterPath sphere;
    sphere.addEllipse(QPointF(7.5, 7.5), 6.5, 6.5);
    p.setPen(Line(kInk));
    p.setBrush(light);
    p.drawPath(sphere);
}

// The footprint cage: an open-topped wire box, blue as the view draws it.
void DrawCage(QPainter& p)
{
    const Cube cube;
    p.setPen(Line(kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawLine(cube.backBottom, cube.leftBottom);
    p.drawLine(cube.backBottom, cube.rightBottom);
    p.drawLine(cube.backBottom, cube.top);
    p.drawPath(cube.Left());
    p.drawPath(cube.Right());
    p.drawLine(cube.left, cube.top);
    p.drawLine(cube.top, cube.right);
}

// The floor grid as the game shows it: tiles seen from above at an angle.
void DrawGrid(QPainter& p)
{
    p.setPen(Line(kGridLine));
    const QPointF top(7.5, 2.0), right(15.0, 7.5), bottom(7.5, 13.0), left(0.0, 7.5);
    for (int i = 0; i <= 3; ++i) {
        const qreal t = i / 3.0;
        p.drawLine(top + (left - top) * t, right + (bottom - right) * t);
        p.drawLine(top + (right - top) * t, left + (bottom - left) * t);
    }
}

// ---------------------------------------------------------------------------
// 6. The table of commands

using Drawing = void (*)(QPainter&);

// Straight-edged drawings whose slanted edges stay crisper at 16 pixels as
// pixel steps than as blurred half-tones.
const std::set<int> kStepped1x = {command::kSelect, command::kEffectX};

const std::vector<std::pair<int, Drawing>>& Drawings()
{
    using namespace command;
    static const std::vector<std::pair<int, Drawing>> drawings = {
        {kOpen, DrawOpen},
        {kSave, DrawSave},
        {kSelect, DrawSelect},
        {kMove, DrawMove},
        {kRotate, DrawRotate},
        {kScale, DrawScale},
        {kTextureMove, DrawMoveTexture},
        {kTextureRotate, DrawRotateTexture},
        {kTextureScale, DrawScaleTexture},
        {kPan, DrawPan},
        {kZoom, DrawZoom},
        {kEffectX, DrawEffectX},
        {kEffectY, DrawEffectY},
        {kEffectZ, DrawEffectZ},
        {kCameraSimsButton, DrawSimsView},
        {kCameraFrontButton, DrawFrontView},
        {kCameraTopButton, DrawTopView},
        {kCameraLeftButton, DrawLeftView},
        {kWireframe, DrawWireframe},
        {kShaded, DrawShaded},
        {kCage, DrawCage},
        {kGrid, DrawGrid},
        {kOrbit, DrawOrbit},
    };
    return drawings;
}

} // namespace

const std::vector<int>& ToolbarIconCommands()
{
    static const std::vector<int> commands = [] {
        std::vector<int> ids;
        for (const auto& [id, drawing] : Drawings())
            ids.push_back(id);
        return ids;
    }();
    return commands;
}

QImage DrawToolbarIcon(int commandId, int scale)
{
    for (const auto& [id, drawing] : Drawings()) {
        if (id != commandId)
            continue;
        QImage image(kToolbarIconWidth * scale, kToolbarIconHeight * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, scale > 1 || kStepped1x.count(commandId) == 0);
        painter.scale(scale, scale);
        drawing(painter);
        return image;
    }
    return {};
}

QIcon ToolbarIcon(int commandId)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QImage image = DrawToolbarIcon(commandId, scale);
        if (image.isNull())
            return {};
        image.setDevicePixelRatio(scale);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace zelvane
