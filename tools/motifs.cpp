#include "tools/motifs.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <iterator>

namespace kxc2::pictures {
namespace {

constexpr QPointF kCentre(22.5, 25.5);

void Ground(QPainter& p, const QRect& area, const Theme& t, Dice& dice) {
  p.fillRect(area, t.ground);
  if (!t.groundDot.isValid()) return;
  const int dots = area.width() * area.height() / 28;
  for (int i = 0; i < dots; ++i) {
    const int x = area.left() + dice.below(area.width());
    const int y = area.top() + dice.below(area.height());
    p.fillRect(QRect(x, y, 1, 1), (i % 3 == 0 && t.groundDot2.isValid()) ? t.groundDot2 : t.groundDot);
  }
}

void Dot(QPainter& p, double radius, const Theme& t) {
  p.setPen(Qt::NoPen);
  p.setBrush(t.riverDot);
  p.drawEllipse(kCentre, radius, radius);
}

void House(QPainter& p, double x, double y, double w, double h, const Theme& t) {
  // Front wall, then a gabled roof leaning to the back.
  p.setPen(QPen(t.outline, 1));
  p.setBrush(t.wall);
  p.drawRect(QRectF(x, y, w, h));
  QPolygonF roof;
  roof << QPointF(x - 1, y) << QPointF(x + w / 2, y - h * 0.7) << QPointF(x + w + 1, y);
  p.setBrush(t.roof);
  p.drawPolygon(roof);
  p.setPen(Qt::NoPen);
  p.setBrush(t.roofShade);
  p.drawRect(QRectF(x + w * 0.3, y + h * 0.45, w * 0.35, h * 0.55));
}

void Church(QPainter& p, double x, double y, const Theme& t) {
  p.setPen(QPen(t.outline, 1));
  p.setBrush(t.church);
  p.drawRect(QRectF(x, y, 14, 9));  // nave
  QPolygonF roof;
  roof << QPointF(x - 1, y) << QPointF(x + 4, y - 5) << QPointF(x + 15, y - 5) << QPointF(x + 15, y);
  p.setBrush(t.roof);
  p.drawPolygon(roof);
  p.setBrush(t.church);
  p.drawRect(QRectF(x + 10, y - 11, 6, 20));  // tower
  QPolygonF spire;
  spire << QPointF(x + 10, y - 11) << QPointF(x + 13, y - 18) << QPointF(x + 16, y - 11);
  p.setBrush(t.roof);
  p.drawPolygon(spire);
  p.setPen(QPen(t.outline, 1));
  p.drawLine(QPointF(x + 13, y - 18), QPointF(x + 13, y - 22));
  p.drawLine(QPointF(x + 11.5, y - 20.5), QPointF(x + 14.5, y - 20.5));
  p.setPen(Qt::NoPen);
  p.setBrush(t.outline);
  p.drawRect(QRectF(x + 12, y + 4, 2, 5));  // door
}

void City(QPainter& p, const Theme& t) {
  House(p, 4, 14, 8, 6, t);
  House(p, 31, 13, 9, 6, t);
  House(p, 3, 31, 9, 6, t);
  House(p, 32, 30, 8, 6, t);
  House(p, 10, 42, 8, 5, t);
  House(p, 25, 42, 9, 5, t);
  Church(p, 13, 25, t);
}

void Runway(QPainter& p, QPointF a, QPointF b, const Theme& t) {
  p.setPen(QPen(t.outline, 8, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(a, b);
  p.setPen(QPen(t.runway, 6, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(a, b);
}

void Airfield(QPainter& p, const Theme& t) {
  Runway(p, QPointF(3, 42), QPointF(42, 9), t);
  Runway(p, QPointF(4, 10), QPointF(41, 41), t);
  QPen marks(t.runwayMark, 1, Qt::CustomDashLine, Qt::FlatCap);
  marks.setDashPattern({2, 2});
  p.setPen(marks);
  p.drawLine(QPointF(5, 40.5), QPointF(40, 10.5));
  p.drawLine(QPointF(6, 12), QPointF(39, 39.5));
  // A hangar beside the crossing.
  p.setPen(QPen(t.outline, 1));
  p.setBrush(t.wall);
  p.drawRect(QRectF(34, 23, 8, 5));
  p.setBrush(t.roof);
  p.drawChord(QRectF(34, 20, 8, 6), 0, 180 * 16);
}

void LeafyTree(QPainter& p, double x, double y, double r, const Theme& t) {
  p.setPen(Qt::NoPen);
  p.setBrush(t.trunk);
  p.drawRect(QRectF(x - 1, y + r * 0.6, 2, r * 0.8));
  p.setPen(QPen(t.crownDark, 1));
  p.setBrush(t.crown);
  p.drawEllipse(QPointF(x, y), r, r);
  p.setPen(Qt::NoPen);
  p.setBrush(t.crownLight);
  p.drawEllipse(QPointF(x - r * 0.3, y - r * 0.3), r * 0.45, r * 0.45);
}

void Branch(QPainter& p, QPointF from, double angle, double length, int depth, const Theme& t) {
  const QPointF to(from.x() + std::cos(angle) * length, from.y() - std::sin(angle) * length);
  p.setPen(QPen(t.trunk, depth > 1 ? 1.6 : 1.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  if (depth == 0) return;
  Branch(p, to, angle + 0.5, length * 0.62, depth - 1, t);
  Branch(p, to, angle - 0.5, length * 0.62, depth - 1, t);
}

void BareTree(QPainter& p, double x, double y, double r, const Theme& t) {
  const QPointF foot(x, y + r * 1.3);
  p.setPen(QPen(t.trunk, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(foot, QPointF(x, y));
  Branch(p, QPointF(x, y + r * 0.3), M_PI / 2 + 0.55, r * 0.75, 1, t);
  Branch(p, QPointF(x, y + r * 0.1), M_PI / 2 - 0.6, r * 0.75, 1, t);
  Branch(p, QPointF(x, y), M_PI / 2, r * 0.6, 2, t);
  p.setPen(Qt::NoPen);
  p.setBrush(t.snow);
  p.drawEllipse(QPointF(x, foot.y()), r * 0.7, 1.2);
}

void Forest(QPainter& p, const Theme& t) {
  struct Spot {
    double x, y, r;
  };
  const Spot spots[] = {{11, 9, 6},  {30, 8, 6.5}, {21, 18, 6.5}, {6, 24, 5.5}, {37, 22, 6},
                        {14, 33, 6.5}, {31, 35, 6.5}, {23, 42, 5.5}, {5, 41, 5}, {40, 43, 5}};
  for (const Spot& s : spots) {
    if (t.bareTrees)
      BareTree(p, s.x, s.y, s.r, t);
    else
      LeafyTree(p, s.x, s.y, s.r, t);
  }
}

void Hedge(QPainter& p, const QPolygonF& line, const Theme& t, Dice& dice) {
  QPainterPath path;
  path.addPolygon(line);
  const double length = path.length();
  for (double s = 0; s <= length; s += 2.2) {
    const QPointF at = path.pointAtPercent(path.percentAtLength(s));
    const double r = 2.0 + dice.below(3) * 0.35;
    p.setPen(Qt::NoPen);
    p.setBrush(t.hedge);
    p.drawEllipse(at, r, r);
  }
  for (double s = 1; s <= length; s += 4.4) {
    const QPointF at = path.pointAtPercent(path.percentAtLength(s));
    p.setBrush(t.hedgeLight);
    p.drawEllipse(at + QPointF(-0.6, -0.8), 0.9, 0.9);
  }
}

void Bocage(QPainter& p, const Theme& t, Dice& dice) {
  // Small fields of different crops between the hedges.
  p.setPen(Qt::NoPen);
  p.setBrush(t.field1);
  p.drawPolygon(QPolygonF({QPointF(16, 13), QPointF(30, 16), QPointF(28, 33), QPointF(14, 37)}));
  p.drawPolygon(QPolygonF({QPointF(0, 35), QPointF(14, 37), QPointF(16, 50), QPointF(0, 50)}));
  p.setBrush(t.field2);
  p.drawPolygon(QPolygonF({QPointF(16, 13), QPointF(15, 0), QPointF(45, 0), QPointF(45, 13), QPointF(30, 16)}));
  p.drawPolygon(QPolygonF({QPointF(28, 33), QPointF(45, 36), QPointF(45, 50), QPointF(33, 50)}));
  Hedge(p, QPolygonF({QPointF(0, 15), QPointF(16, 13), QPointF(30, 16), QPointF(45, 13)}), t, dice);
  Hedge(p, QPolygonF({QPointF(0, 35), QPointF(14, 37), QPointF(28, 33), QPointF(45, 36)}), t, dice);
  Hedge(p, QPolygonF({QPointF(15, 0), QPointF(16, 13), QPointF(14, 37), QPointF(16, 50)}), t, dice);
  Hedge(p, QPolygonF({QPointF(30, 16), QPointF(29, 25), QPointF(28, 33)}), t, dice);
  Hedge(p, QPolygonF({QPointF(31, 36), QPointF(33, 50)}), t, dice);
}

void Hill(QPainter& p, const Theme& t) {
  p.setPen(Qt::NoPen);
  p.setBrush(t.hillFill);
  p.drawEllipse(QPointF(22.5, 26), 19, 15);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(t.hill, 2));
  p.drawEllipse(QPointF(22.5, 26), 19, 15);
  p.drawEllipse(QPointF(21.5, 24), 12.5, 9.5);
  p.drawEllipse(QPointF(20.5, 22.5), 6, 4.5);
  p.setPen(Qt::NoPen);
  p.setBrush(t.hill);
  p.drawEllipse(QPointF(20.5, 22.5), 2, 1.5);
}

void Peak(QPainter& p, QPointF top, double halfWidth, double height, const Theme& t) {
  const QPointF left(top.x() - halfWidth, top.y() + height);
  const QPointF right(top.x() + halfWidth, top.y() + height);
  const QPointF mid(top.x() + halfWidth * 0.15, top.y() + height);
  p.setPen(Qt::NoPen);
  p.setBrush(t.rockLight);
  p.drawPolygon(QPolygonF({top, left, mid}));
  p.setBrush(t.rockDark);
  p.drawPolygon(QPolygonF({top, mid, right}));
  // Snow on the upper third.
  const double f = 0.33;
  const QPointF sl(top.x() - halfWidth * f, top.y() + height * f);
  const QPointF sr(top.x() + halfWidth * f, top.y() + height * f);
  p.setBrush(t.peakSnow);
  p.drawPolygon(QPolygonF({top, sl, QPointF(top.x() - halfWidth * 0.12, sl.y() + 2),
                           QPointF(top.x() + halfWidth * 0.05, sl.y() - 1),
                           QPointF(top.x() + halfWidth * 0.2, sr.y() + 1.5), sr}));
  p.setPen(QPen(t.outline, 1));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({left, top, right}));
}

void Mountain(QPainter& p, const Theme& t) {
  Peak(p, QPointF(31, 10), 13, 26, t);
  Peak(p, QPointF(15, 5), 14, 33, t);
  Peak(p, QPointF(25, 22), 15, 24, t);
}

void Sand(QPainter& p, const QRect& area, const Theme& t, Dice& dice) {
  p.fillRect(area, t.sand);
  const int dots = area.width() * area.height() / 14;
  for (int i = 0; i < dots; ++i) {
    const int x = area.left() + dice.below(area.width());
    const int y = area.top() + dice.below(area.height());
    p.fillRect(QRect(x, y, 1, 1), t.sandDot);
  }
  // A few wind ripples.
  p.setPen(QPen(t.sandDot, 1));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    const double y = 9 + i * 11 + dice.below(3);
    const double x = 5 + dice.below(18);
    p.drawArc(QRectF(x, y, 16, 6), 20 * 16, 140 * 16);
  }
}

void Tuft(QPainter& p, double x, double y, const Theme& t) {
  p.setPen(QPen(t.tuft, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x, y), QPointF(x - 3, y - 4));
  p.drawLine(QPointF(x, y), QPointF(x, y - 5));
  p.drawLine(QPointF(x, y), QPointF(x + 3, y - 4));
}

void Swamp(QPainter& p, const QRect& area, const Theme& t, Dice& dice) {
  p.fillRect(area, t.swamp);
  p.setPen(Qt::NoPen);
  p.setBrush(t.swampWater);
  p.drawEllipse(QRectF(4, 17, 15, 5));
  p.drawEllipse(QRectF(25, 29, 16, 5));
  p.drawEllipse(QRectF(20, 5, 12, 4));
  p.drawEllipse(QRectF(6, 40, 13, 4));
  const QPointF tufts[] = {{8, 14}, {26, 12}, {38, 9}, {20, 26}, {9, 34}, {36, 25},
                           {27, 44}, {40, 43}, {16, 47}, {4, 27}};
  for (const QPointF& at : tufts) Tuft(p, at.x() + dice.below(2), at.y(), t);
}

void Water(QPainter& p, const QRect& area, const Theme& t, Dice& dice) {
  p.fillRect(area, t.water);
  if (!t.waterSpeck.isValid()) return;
  const int specks = area.width() * area.height() / 40;
  for (int i = 0; i < specks; ++i) {
    const int x = area.left() + dice.below(area.width());
    const int y = area.top() + dice.below(area.height());
    p.fillRect(QRect(x, y, dice.below(4) == 0 ? 2 : 1, 1), t.waterSpeck);
  }
}

void Wire(QPainter& p, double y, const Theme& t) {
  p.setPen(QPen(t.wire, 1));
  p.drawLine(QPointF(0, y), QPointF(45, y));
  for (double x = 2; x < 45; x += 5) {
    p.drawLine(QPointF(x - 1.5, y - 1.5), QPointF(x + 1.5, y + 1.5));
    p.drawLine(QPointF(x - 1.5, y + 1.5), QPointF(x + 1.5, y - 1.5));
  }
}

void Obstacle(QPainter& p, double x, double y, const Theme& t) {
  p.setPen(QPen(t.obstacleDark, 1));
  p.setBrush(t.obstacle);
  p.drawPolygon(QPolygonF({QPointF(x, y - 4), QPointF(x - 3.5, y + 2), QPointF(x + 3.5, y + 2)}));
  p.setPen(Qt::NoPen);
  p.setBrush(t.obstacleDark);
  p.drawPolygon(QPolygonF({QPointF(x, y - 4), QPointF(x + 0.5, y + 2), QPointF(x + 3.5, y + 2)}));
}

void Fortification(QPainter& p, const Theme& t) {
  Wire(p, 11.5, t);
  Wire(p, 39.5, t);
  for (double x = 5; x < 44; x += 8.5) Obstacle(p, x, 24, t);
  // Bunker on the inner line.
  p.setPen(QPen(t.obstacleDark, 1));
  p.setBrush(t.obstacle);
  p.drawChord(QRectF(15, 27, 15, 10), 0, 180 * 16);
  p.setPen(QPen(t.outline, 1.4));
  p.drawLine(QPointF(19, 30.5), QPointF(26, 30.5));
}

void Ship(QPainter& p, const Theme& t) {
  p.setPen(QPen(t.outline, 1));
  p.setBrush(t.hull);
  p.drawPolygon(QPolygonF({QPointF(1, 12), QPointF(21, 12), QPointF(18, 17), QPointF(3, 17)}));
  p.setBrush(t.deck);
  p.drawRect(QRectF(6, 8, 8, 4));
  p.setBrush(t.roof);
  p.drawRect(QRectF(9, 4.5, 3, 3.5));
}

void Port(QPainter& p, const QRect& area, const Theme& t, Dice& dice) {
  QPainterPath shore;
  shore.moveTo(-1, -1);
  shore.lineTo(44, -1);
  shore.cubicTo(36, 12, 28, 22, 18, 26);
  shore.cubicTo(10, 29, 4, 33, -1, 38);
  shore.closeSubpath();
  p.save();
  p.setClipPath(shore, Qt::IntersectClip);
  Water(p, area, t, dice);
  p.restore();
  // A jetty on posts from the shore into the harbour, the ship along it.
  p.setPen(QPen(t.outline, 1));
  p.setBrush(t.pier);
  p.drawRect(QRectF(7, 18.5, 22, 3));
  p.setPen(Qt::NoPen);
  p.setBrush(t.outline);
  for (double x = 9; x < 28; x += 5) p.drawRect(QRectF(x, 21.5, 1, 1.5));
  Ship(p, t);
  House(p, 31, 27, 8, 6, t);
  House(p, 18, 35, 9, 6, t);
  House(p, 33, 41, 8, 5, t);
}

void Escarpment(QPainter& p, const Theme& t) {
  QPainterPath edge;
  edge.moveTo(-1, 26);
  edge.cubicTo(12, 20, 28, 23, 46, 13);
  QPainterPath band = edge;
  band.lineTo(46, 29);
  band.cubicTo(28, 39, 12, 37, -1, 43);
  band.closeSubpath();
  QLinearGradient shade(0, 15, 0, 40);
  shade.setColorAt(0, t.slope);
  shade.setColorAt(1, t.slope.darker(125));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawPath(band);
  // Wedges hanging from the edge, the map sign of a steep slope.
  p.setBrush(t.slopeDark);
  for (int i = 0; i <= 14; ++i) {
    const double f = (i + 0.5) / 15.0;
    const QPointF top = edge.pointAtPercent(f);
    const double length = (i % 2 == 0) ? 11 : 7;
    p.drawPolygon(QPolygonF({top + QPointF(-1.3, 0), top + QPointF(1.3, 0), top + QPointF(0.3, length)}));
  }
  p.setPen(QPen(t.slopeDark, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(edge);
}

void Stone(QPainter& p, QPointF at, double size, const Theme& t) {
  p.setPen(QPen(t.outline, 0.8));
  p.setBrush(t.rockLight);
  p.drawPolygon(QPolygonF({at + QPointF(-size, 0.6), at + QPointF(-size * 0.4, -size * 0.8),
                           at + QPointF(size * 0.7, -size * 0.6), at + QPointF(size, size * 0.5),
                           at + QPointF(0, size * 0.8)}));
  p.setPen(Qt::NoPen);
  p.setBrush(t.rockDark);
  p.drawPolygon(QPolygonF({at + QPointF(0, size * 0.7), at + QPointF(size * 0.9, size * 0.4),
                           at + QPointF(size * 0.6, -size * 0.3)}));
}

void Scrub(QPainter& p, QPointF at, const Theme& t) {
  p.setPen(Qt::NoPen);
  p.setBrush(t.crownDark);
  p.drawEllipse(at, 2.2, 1.8);
  p.drawEllipse(at + QPointF(2, 0.6), 1.6, 1.4);
}

void Rough(QPainter& p, const QRect& area, const Theme& t, Dice& dice) {
  const int specks = area.width() * area.height() / 9;
  for (int i = 0; i < specks; ++i) {
    const int x = area.left() + dice.below(area.width());
    const int y = area.top() + dice.below(area.height());
    const int pick = dice.below(3);
    p.fillRect(QRect(x, y, 1, 1), pick == 0 ? t.rough1 : pick == 1 ? t.rough2 : t.rough3);
  }
  const QPointF stones[] = {{8, 8}, {27, 6}, {38, 15}, {15, 19}, {30, 26}, {6, 31}, {20, 38}, {37, 38}, {12, 46}};
  for (size_t i = 0; i < std::size(stones); ++i) Stone(p, stones[i], i % 3 == 0 ? 2.6 : 1.8, t);
  const QPointF scrub[] = {{18, 9}, {5, 20}, {40, 27}, {26, 44}, {23, 28}};
  for (const QPointF& at : scrub) Scrub(p, at, t);
}

}  // namespace

void DrawTerrain(QPainter& painter, int code, const QRect& area, const Theme& theme, std::uint32_t seed) {
  Dice dice(seed * 31u + static_cast<std::uint32_t>(code));
  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing, true);
  Ground(painter, area, theme, dice);
  switch (code) {
    case 1: City(painter, theme); break;
    case 2: Airfield(painter, theme); break;
    case 3: Forest(painter, theme); break;
    case 4: Bocage(painter, theme, dice); break;
    case 5: Hill(painter, theme); break;
    case 6: Mountain(painter, theme); break;
    case 7: Sand(painter, area, theme, dice); break;
    case 8: Swamp(painter, area, theme, dice); break;
    case 9: Water(painter, area, theme, dice); break;
    case 10: Dot(painter, 5.0, theme); break;
    case 11: Fortification(painter, theme); break;
    case 12: Port(painter, area, theme, dice); break;
    case 13: Dot(painter, 3.0, theme); break;
    case 14: Escarpment(painter, theme); break;
    case 15: Dot(painter, 8.0, theme); break;
    case 16: Rough(painter, area, theme, dice); break;
    default: break;
  }
  painter.restore();
}

}  // namespace kxc2::pictures
