#include "tools/small_icons.h"

#include <QColor>
#include <array>
#include <map>

#include "tools/atlas_layout.h"

namespace kxc2::pictures {
namespace {

using Icon = std::array<const char*, 11>;

// '.' is the ground; every other letter a colour of the legend.
const std::map<char, QRgb>& Legend() {
  static const std::map<char, QRgb> legend = {
      {'.', kSmallGround},          {'K', qRgb(40, 40, 40)},     {'W', qRgb(214, 214, 214)},
      {'R', qRgb(104, 104, 112)},   {'G', qRgb(150, 150, 150)},  {'g', qRgb(186, 186, 186)},
      {'w', qRgb(255, 255, 255)},   {'p', qRgb(236, 236, 200)},  {'d', qRgb(0, 112, 24)},
      {'D', qRgb(0, 72, 16)},       {'b', qRgb(150, 90, 24)},    {'B', qRgb(110, 62, 14)},
      {'y', qRgb(236, 216, 96)},    {'Y', qRgb(168, 128, 48)},   {'S', qRgb(0, 120, 72)},
      {'T', qRgb(0, 66, 30)},       {'m', qRgb(40, 88, 112)},    {'o', kViewOcean},
      {'c', kViewRiverDot},         {'e', qRgb(206, 164, 64)},   {'E', qRgb(124, 82, 22)},
      {'n', qRgb(110, 160, 40)},
  };
  return legend;
}

const std::array<Icon, kAtlasCells>& Icons() {
  static const std::array<Icon, kAtlasCells> icons = {{
      // 0 Clear
      {"...........", "...........", "...........", "...........", "...........", "...........",
       "...........", "...........", "...........", "...........", "..........."},
      // 1 City: a church among grey houses
      {"....K......", "...KKK.....", "....K...RR.", "...RGR.RWWR", "...GGG..WW.", ".RRGGGRR...",
       ".WWGKGWW.RR", ".WWGKGWW.WW", "RR.......WW", "WWR.RRR....", "WW..WWW...."},
      // 2 Airfield: crossed runways
      {"pp.......pp", "ppp.....ppp", ".ppp...ppp.", "..ppp.ppp..", "...ppppp...", "....ppp....",
       "...ppppp...", "..ppp.ppp..", ".ppp...ppp.", "ppp.....ppp", "pp.......pp"},
      // 3 Forest
      {"..ddd......", ".ddddD.ddd.", ".dddDDddddD", "..dDD.dddDD", "...b...dDD.", ".ddd....b..",
       "dddDD.ddd..", "ddDDDddddD.", ".dDD.dddDDD", "..b...dDD..", ".......b..."},
      // 4 Bocage: hedges around small fields
      {"...d....d..", "...d....d..", "dddddd..d..", "...d.dddddd", "...d....d..", "...d....d..",
       "..dd....d..", "dddddddddd.", "..d.....d.d", "..d.....d..", "..d......d."},
      // 5 Hill: brown contours
      {"...........", "....bbb....", "..bb...bb..", ".b..bbb..b.", "b..b...b..b", "b..b.B.b..b",
       "b...bbb...b", ".b.......b.", "..bb...bb..", "....bbb....", "..........."},
      // 6 Mountain: grey peaks with snow
      {"...........", "...w.......", "..wwG......", "..gwGG..w..", ".ggGGG.wwG.", ".gggGGGgwGG",
       "ggggGGggGGG", "gggGGGgggGG", "ggGGGggggGG", "...........", "..........."},
      // 7 Sand
      {"yyyYyyyyyyy", "yyyyyyyYyyy", "yYyyyyyyyyy", "yyyyyYyyyYy", "yyyyyyyyyyy", "yyYyyyyYyyy",
       "yyyyyyyyyyy", "yyyyYyyyyyY", "yYyyyyyyyyy", "yyyyyyYyyyy", "yyyYyyyyyYy"},
      // 8 Swamp
      {"SSSSSSSSSSS", "STSTSSSSSSS", "SSTSSSSTSTS", "SSSSmmmSSTS", "SSSSSSSSSSS", "STSTSSSSSSS",
       "SSTSSSSTSTS", "SSSSSSSSTSS", "SmmmSSSSSSS", "SSSSSSTSTSS", "SSSSSSSTSSS"},
      // 9 Ocean
      {"ooooooooooo", "ooooooooooo", "ooooooooooo", "ooooooooooo", "ooooooooooo", "ooooooooooo",
       "ooooooooooo", "ooooooooooo", "ooooooooooo", "ooooooooooo", "ooooooooooo"},
      // 10 River: middle-sized dot
      {"...........", "...........", "...........", "....ccc....", "...ccccc...", "...ccccc...",
       "...ccccc...", "....ccc....", "...........", "...........", "..........."},
      // 11 Fortification: wire and obstacles
      {"...........", ".K.K..K.K..", "KKKKKKKKKKK", ".K.K..K.K..", "...........", ".g...g...g.",
       "gGG.gGG.gGG", "...........", ".K.K..K.K..", "KKKKKKKKKKK", ".K.K..K.K.."},
      // 12 Port: water, ship and pier, houses on the shore
      {"oooooooooo.", "ooowooooo..", "ooowwoooo..", "oKKKKKKoo..", "ooKKKKooo..", "oobbbbbb...",
       "ooooo......", "ooo.....RR.", "o......RWWR", "..RR....WW.", ".RWWR......"},
      // 13 Stream: small dot
      {"...........", "...........", "...........", "...........", ".....c.....", "....ccc....",
       ".....c.....", "...........", "...........", "...........", "..........."},
      // 14 Escarpment: a slope with its edge
      {"...........", "...........", "........EEE", ".....EEEeee", "..EEEeEeeEe", "EEeEeeeEe..",
       "eeeeEee....", "eeEe.......", "e..........", "...........", "..........."},
      // 15 Impassable River: large dot
      {"...........", "...ccccc...", "..ccccccc..", ".ccccccccc.", ".ccccccccc.", ".ccccccccc.",
       ".ccccccccc.", ".ccccccccc.", "..ccccccc..", "...ccccc...", "..........."},
      // 16 Rough: speckled
      {".b...G..n..", "...n....b..", "G....b....G", "..n.....n..", ".b...G.b...", "....n......",
       "n.G....n..b", "...b.......", ".n....G..n.", "....b...b..", "G.n....n..."},
      // 17..19 plain ground
      {"...........", "...........", "...........", "...........", "...........", "...........",
       "...........", "...........", "...........", "...........", "..........."},
      {"...........", "...........", "...........", "...........", "...........", "...........",
       "...........", "...........", "...........", "...........", "..........."},
      {"...........", "...........", "...........", "...........", "...........", "...........",
       "...........", "...........", "...........", "...........", "..........."},
  }};
  return icons;
}

}  // namespace

QImage DrawSmallAtlas() {
  QImage atlas(kSmallAtlasSize, QImage::Format_RGB32);
  atlas.fill(qRgb(0, 0, 0));
  for (int code = 0; code < kAtlasCells; ++code) {
    const QPoint corner = SmallCellCorner(code);
    const Icon& icon = Icons()[static_cast<size_t>(code)];
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 11; ++x)
        atlas.setPixel(corner.x() + 1 + x, corner.y() + 1 + y, Legend().at(icon[static_cast<size_t>(y)][x]));
  }
  // The road marker the view copies for hexes with roads.
  for (int y = kMarkerBlock.top(); y <= kMarkerBlock.bottom(); ++y)
    for (int x = kMarkerBlock.left(); x <= kMarkerBlock.right(); ++x) atlas.setPixel(x, y, kMarkerRed);
  return atlas;
}

}  // namespace kxc2::pictures
