// The skin file reader on good skins and on every kind of fault.
#include <gtest/gtest.h>

#include <string>

#include "skin/skin_parser.h"

namespace brontel::skin {
namespace {

const char kGoodSkin[] =
    "brontel-skin 1\n"
    "# a comment line\n"
    "title \"Test panel\"\n"
    "size 200 100\n"
    "color ink #102030\n"
    "color glass #aabbcc80\n"
    "font lcd \"Tahoma\" 12 bold\n"
    "key X #ff0000\n"
    "define arrow\n"
    "  poly ink none 0 0 0 10 8 5\n"
    "end\n"
    "element Main panel 0 0 200 100   # trailing comment\n"
    "  drag\n"
    "  fill 0 0 200 100 #000000\n"
    "element Play button 10 10 30 20\n"
    "  parent Main\n"
    "  action 10130\n"
    "  face normal\n"
    "    round 0 0 30 20 4 glass ink\n"
    "    use arrow 11 5\n"
    "  face hover\n"
    "    fill 0 0 30 20 ink\n"
    "  face pressed\n"
    "    image 2 2 2\n"
    "    row \"X.X\"\n"
    "    row \".X.\"\n"
    "    text 0 0 30 20 lcd ink center \"say \\\"hi\\\"\"\n"
    "element VolUp button 50 10 20 20\n"
    "  parent Main\n"
    "  press 10281\n"
    "  release 10280\n"
    "element Play-D overlay 10 10 30 20\n"
    "  parent Main\n"
    "element Meter indicator 100 10 10 80\n"
    "  parent Main\n"
    "  anchor design\n"
    "  gradient 0 0 10 80 vertical #ff0000 #00ff00\n"
    "element MeterRgn region 100 10 10 80\n"
    "element NameArea label 120 10 70 16\n"
    "  style lcd #000000 right\n";

TEST(SkinParser, ReadsAGoodSkin) {
  SkinModel model;
  SkinError error;
  ASSERT_TRUE(ParseSkin(kGoodSkin, &model, &error)) << error.line << ": " << error.message;
  EXPECT_EQ(model.title, "Test panel");
  EXPECT_EQ(model.elements.size(), 7u);
  const int play = model.Find("Play");
  ASSERT_GE(play, 0);
  const Element& button = model.elements[play];
  EXPECT_EQ(button.kind, ElementKind::kButton);
  EXPECT_EQ(button.action, 10130);
  EXPECT_EQ(button.parent, model.Find("Main"));
  EXPECT_EQ(button.design, (Rect{10, 10, 30, 20}));
  EXPECT_EQ(button.current, button.design);
  ASSERT_EQ(button.faces[0].size(), 2u);
  // The used drawing is moved by the offset.
  EXPECT_EQ(button.faces[0][1].kind, DrawKind::kPolygon);
  EXPECT_EQ(button.faces[0][1].points, (std::vector<int>{11, 5, 11, 15, 19, 10}));
  EXPECT_EQ(button.faces[0][0].fill, (Color{0xaa, 0xbb, 0xcc, 0x80}));
  EXPECT_TRUE(button.faces[0][1].stroke.IsNone());
  ASSERT_EQ(button.faces[2].size(), 2u);
  EXPECT_EQ(button.faces[2][1].text, "say \"hi\"");
  const DrawOp& image = button.faces[2][0];
  EXPECT_EQ(image.rect, (Rect{2, 2, 6, 4}));
  const Image& pixels = model.images[image.image];
  EXPECT_EQ(pixels.width, 3);
  EXPECT_EQ(pixels.height, 2);
  EXPECT_EQ(pixels.pixels[0], (Color{255, 0, 0, 255}));
  EXPECT_TRUE(pixels.pixels[1].IsNone());

  const Element& volume = model.elements[model.Find("VolUp")];
  EXPECT_EQ(volume.press, 10281);
  EXPECT_EQ(volume.release, 10280);
  EXPECT_TRUE(model.elements[model.Find("Meter")].anchorDesign);
  EXPECT_TRUE(model.elements[model.Find("Main")].drag);
  const Element& label = model.elements[model.Find("NameArea")];
  EXPECT_EQ(label.label.align, Align::kRight);
  EXPECT_EQ(model.fonts[label.label.font].face, "Tahoma");
  EXPECT_TRUE(model.fonts[label.label.font].bold);
}

TEST(SkinParser, AcceptsByteOrderMarkAndWindowsLineEnds) {
  SkinModel model;
  SkinError error;
  EXPECT_TRUE(
      ParseSkin("\xEF\xBB\xBF"
                "brontel-skin 1\r\nelement A panel 0 0 5 5\r\n",
                &model, &error))
      << error.message;
  EXPECT_EQ(model.Find("A"), 0);
}

struct BadSkin {
  const char* name;
  std::string text;
  int line;
  const char* messagePart;
};

TEST(SkinParser, RefusesFaultyFilesNamingTheLine) {
  const std::string head = "brontel-skin 1\nelement A panel 0 0 10 10\n";
  const BadSkin cases[] = {
      {"empty file", "", 1, "empty"},
      {"only comments", "# nothing\n\n", 3, "empty"},
      {"wrong magic", "skin 1\n", 1, "first line"},
      {"future version", "brontel-skin 2\n", 1, "not supported"},
      {"no elements", "brontel-skin 1\ncolor a #000000\n", 3, "no elements"},
      {"unknown keyword", head + "sparkle 1 2\n", 3, "unknown keyword 'sparkle'"},
      {"bad colour", head + "fill 0 0 1 1 #12345\n", 3, "#RRGGBB"},
      {"unknown colour", head + "fill 0 0 1 1 reed\n", 3, "unknown colour 'reed'"},
      {"unknown font", head + "text 0 0 5 5 big #000000 left \"x\"\n", 3, "unknown font"},
      {"not a number", head + "fill 0 zero 1 1 #000000\n", 3, "not a number"},
      {"negative width", head + "fill 0 0 -1 1 #000000\n", 3, "outside"},
      {"huge coordinate", head + "fill 99999999999 0 1 1 #000000\n", 3, "outside"},
      {"too few arguments", head + "fill 0 0 1 #000000\n", 3, "fill X Y W H"},
      {"open quote", head + "text 0 0 5 5 f #000000 left \"abc\n", 3, "not closed"},
      {"duplicate element", head + "element A panel 0 0 1 1\n", 3,
       "defined twice (first on line 2)"},
      {"unknown kind", "brontel-skin 1\nelement B widget 0 0 1 1\n", 2, "kind 'widget'"},
      {"unknown parent", head + "element B panel 0 0 1 1\nparent C\n", 4, "parent 'C'"},
      {"self parent", head + "parent A\n", 3, "parent 'A'"},
      {"attribute before element", "brontel-skin 1\naction 5\n", 2, "must follow"},
      {"drawing outside element", "brontel-skin 1\nfill 0 0 1 1 #000000\n", 2, "inside an element"},
      {"action on panel", head + "action 10130\n", 3, "only for buttons"},
      {"button without code", "brontel-skin 1\nelement B button 0 0 5 5\nelement C panel 0 0 1 1\n",
       2, "no action"},
      {"press without release", "brontel-skin 1\nelement B button 0 0 5 5\npress 10281\n", 2,
       "both 'press' and 'release'"},
      {"hover on panel", head + "face hover\n", 3, "only buttons"},
      {"face twice", "brontel-skin 1\nelement B button 0 0 5 5\naction 1\nface hover\nface hover\n",
       5, "given twice"},
      {"zero action code", "brontel-skin 1\nelement B button 0 0 5 5\naction 0\n", 3, "outside"},
      {"unknown drawing", head + "use star 0 0\n", 3, "unknown drawing 'star'"},
      {"unclosed define", "brontel-skin 1\ndefine d\nfill 0 0 1 1 #000000\n", 2, "not closed"},
      {"end without define", head + "end\n", 3, "without 'define'"},
      {"ragged image", head + "key X #000000\nimage 0 0 1\nrow \"XX\"\nrow \"X\"\n", 6,
       "first row"},
      {"image key missing", head + "image 0 0 1\nrow \"Q\"\n", 4, "image key 'Q'"},
      {"image without rows", head + "image 0 0 1\nfill 0 0 1 1 #000000\n", 3, "no 'row'"},
      {"row without image", head + "row \"XX\"\n", 3, "must follow an 'image'"},
      {"drawing on region", "brontel-skin 1\nelement R region 0 0 5 5\nfill 0 0 1 1 #000000\n", 3,
       "never drawn"},
      {"style on panel", head + "font f \"Tahoma\" 10\nstyle f #000000 left\n", 4,
       "only for labels"},
      {"bad alignment", head + "font f \"Tahoma\" 10\ntext 0 0 1 1 f #000000 middle \"x\"\n", 4,
       "alignment 'middle'"},
      {"invalid utf-8", head + "title \"\xC3\x28\"\n", 3, "UTF-8"},
      {"nul byte", head + std::string("title \"a\0b\"\n", 12), 3, "NUL"},
      {"poly with two points", head + "poly #000000 none 0 0 1 1\n", 3, "three points"},
      {"font too small", head + "font f \"Tahoma\" 2\n", 3, "outside"},
  };
  for (const BadSkin& c : cases) {
    SkinModel model;
    model.title = "untouched";
    SkinError error;
    EXPECT_FALSE(ParseSkin(c.text, &model, &error)) << c.name;
    EXPECT_EQ(error.line, c.line) << c.name << ": " << error.message;
    EXPECT_NE(error.message.find(c.messagePart), std::string::npos)
        << c.name << ": " << error.message;
    EXPECT_EQ(model.title, "untouched") << c.name;
    EXPECT_TRUE(model.elements.empty()) << c.name;
  }
}

TEST(SkinParser, RefusesOversizedFiles) {
  std::string text = "brontel-skin 1\nelement A panel 0 0 1 1\n";
  text.resize(kMaxSkinFileBytes + 1, '\n');
  SkinModel model;
  SkinError error;
  EXPECT_FALSE(ParseSkin(text, &model, &error));
  EXPECT_NE(error.message.find("larger"), std::string::npos);
}

TEST(SkinParser, ErrorTextNamesFileAndLine) {
  EXPECT_EQ(FormatSkinError("AppSkin.skn", SkinError{12, "unknown colour 'reed'"}),
            "AppSkin.skn(12): unknown colour 'reed'");
  EXPECT_EQ(FormatSkinError("AppSkin.skn", SkinError{0, "too large"}), "AppSkin.skn: too large");
}

TEST(SkinModel, VisibilityFollowsSizeAndParents) {
  SkinModel model;
  SkinError error;
  ASSERT_TRUE(ParseSkin(kGoodSkin, &model, &error));
  const int main = model.Find("Main");
  const int play = model.Find("Play");
  EXPECT_TRUE(model.IsVisible(play));
  model.elements[main].current.width = 0;
  model.elements[main].current.height = 0;
  EXPECT_FALSE(model.IsVisible(play));
  EXPECT_EQ(model.HitTest(15, 15), -1);
  model.ResetRects();
  EXPECT_TRUE(model.IsVisible(play));
  EXPECT_FALSE(model.IsVisible(model.Find("MeterRgn")));
  EXPECT_FALSE(model.IsVisible(-1));
  EXPECT_FALSE(model.IsVisible(99));
}

TEST(SkinModel, HitTestFindsTopmostClickableElement) {
  SkinModel model;
  SkinError error;
  ASSERT_TRUE(ParseSkin(kGoodSkin, &model, &error));
  // The overlay lies over the play button.
  EXPECT_EQ(model.HitTest(15, 15), model.Find("Play-D"));
  model.elements[model.Find("Play-D")].current = Rect{10, 10, 0, 0};
  EXPECT_EQ(model.HitTest(15, 15), model.Find("Play"));
  // Indicators and labels let clicks through to the panel.
  EXPECT_EQ(model.HitTest(105, 50), model.Find("Main"));
  EXPECT_EQ(model.HitTest(125, 12), model.Find("Main"));
  EXPECT_EQ(model.HitTest(500, 500), -1);
}

TEST(SkinModel, ChildrenAreClippedToTheirParent) {
  SkinModel model;
  SkinError error;
  ASSERT_TRUE(ParseSkin(kGoodSkin, &model, &error));
  model.elements[model.Find("Main")].current = Rect{0, 0, 20, 100};
  EXPECT_EQ(model.VisibleRect(model.Find("Play")), (Rect{10, 10, 10, 20}));
  EXPECT_EQ(model.HitTest(25, 15), -1);
}

TEST(SkinModel, DescriptionSaysWhatIsShown) {
  SkinModel model;
  SkinError error;
  ASSERT_TRUE(ParseSkin(kGoodSkin, &model, &error));
  EXPECT_EQ(DescribeElement(model, model.Find("Play"), Face::kHover),
            "Play button shown 10,10 30x20 face=hover action=10130");
  model.elements[model.Find("VolUp")].current = Rect{50, 10, 0, 0};
  EXPECT_EQ(DescribeElement(model, model.Find("VolUp"), Face::kNormal),
            "VolUp button hidden 50,10 0x0 face=normal press=10281 release=10280");
}

TEST(SkinModel, BoundsUseSizeOrTheElements) {
  SkinModel model;
  SkinError error;
  ASSERT_TRUE(ParseSkin("brontel-skin 1\nelement A panel 5 5 10 20\nelement B panel 0 0 30 4\n",
                        &model, &error));
  EXPECT_EQ(model.Bounds(), (Rect{0, 0, 30, 25}));
  model.width = 100;
  model.height = 50;
  EXPECT_EQ(model.Bounds(), (Rect{0, 0, 100, 50}));
}

}  // namespace
}  // namespace brontel::skin
