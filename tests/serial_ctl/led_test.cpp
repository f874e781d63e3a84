// The port lamp: its pictures from the program's resources, the state set by
// the program or by the port's signals, and the ring.
#include "CtlTestSupport.h"

using namespace ctltest;

namespace {

struct Rgb {
  int R, G, B;
};
Rgb ToRgb(TColor c) {
  c = ColorToRGB(c);
  return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
}
// The channels that stand out ("R", "RG", "RGB" ...): at least 60 % of the strongest.
std::string Hue(Rgb c) {
  int top = std::max({c.R, c.G, c.B});
  std::string h;
  if (c.R * 10 >= top * 6) h += 'R';
  if (c.G * 10 >= top * 6) h += 'G';
  if (c.B * 10 >= top * 6) h += 'B';
  return h;
}
int Brightness(Rgb c) { return c.R + c.G + c.B; }

class TStateLog : public TObject {
 public:
  std::vector<TLedState> States;
  void Changed(TObject*, TLedState s) { States.push_back(s); }
  TLedStateEvent Event() { return TLedStateEvent(this, &TStateLog::Changed); }
};

using Led = Host;

TEST_F(Led, EachKindShowsItsOwnColouredPicturesFromTheResources) {
  struct Case {
    TLedKind Kind;
    const char* Hue;  // of the lamp's middle, on and off alike
  };
  const Case cases[] = {{lkRedLight, "R"},     {lkGreenLight, "G"},   {lkBlueLight, "B"},
                        {lkYellowLight, "RG"}, {lkPurpleLight, "RB"}, {lkBulb, "RGB"}};
  std::vector<TComLed*> on, off;
  int x = 10;
  for (const Case& c : cases) {
    auto* a = Add<TComLed>(x, 10, 25, 25);
    a->SetKind(c.Kind);
    a->SetState(lsOn);
    auto* b = Add<TComLed>(x, 40, 25, 25);
    b->SetKind(c.Kind);
    on.push_back(a);
    off.push_back(b);
    x += 30;
  }
  Form->Repaint();
  testsupport::PumpMessages(100);
  testsupport::Screenshot(Form->Handle(), "serial_ctl_leds");
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].Kind);
    TBitmap* glyphOn = on[i]->GlyphOn();
    TBitmap* glyphOff = on[i]->GlyphOff();
    ASSERT_FALSE(glyphOn->Empty());
    ASSERT_FALSE(glyphOff->Empty());
    int cx = glyphOn->Width() / 2, cy = glyphOn->Height() / 2;
    TColor litColour = glyphOn->Canvas()->Pixel(cx, cy), darkColour = glyphOff->Canvas()->Pixel(cx, cy);
    Rgb lit = ToRgb(litColour), dark = ToRgb(darkColour);
    EXPECT_EQ(Hue(lit), cases[i].Hue);
    EXPECT_EQ(Hue(dark), cases[i].Hue);
    EXPECT_GT(Brightness(lit), Brightness(dark) + 60);

    // Painted: the picture of the state centred in the lamp, its background transparent.
    int left = (25 - glyphOn->Width()) / 2, top = (25 - glyphOn->Height()) / 2;
    EXPECT_EQ(Painted(on[i], left + cx, top + cy), litColour);
    EXPECT_EQ(Painted(off[i], left + cx, top + cy), darkColour);
    EXPECT_EQ(Painted(on[i], left, top), clAqua) << "the corner of the picture is the transparent colour";
    EXPECT_EQ(Painted(on[i], 0, 0), clAqua) << "nothing is painted outside the picture";
  }

  // A disabled lamp shows its off picture.
  on[0]->SetEnabled(false);
  int c = on[0]->GlyphOn()->Width() / 2, left = (25 - on[0]->GlyphOn()->Width()) / 2;
  EXPECT_EQ(Painted(on[0], left + c, left + c), on[0]->GlyphOff()->Canvas()->Pixel(c, c));
}

TEST_F(Led, CustomPicturesAreTakenOnlyForTheCustomKind) {
  auto* led = Add<TComLed>(10, 10, 25, 25);
  std::unique_ptr<TBitmap> mine(Create<TBitmap>());
  mine->SetSize(9, 9);
  mine->Canvas()->Brush()->SetColor(clTeal);
  mine->Canvas()->FillRect(TRect{0, 0, 9, 9});
  mine->Canvas()->SetPixel(0, 8, clWhite);  // the transparent colour
  led->SetGlyphOn(mine.get());
  EXPECT_TRUE(led->GlyphOn()->Empty() || led->GlyphOn()->Width() != 9) << "ignored while Kind is not lkCustom";
  led->SetKind(lkCustom);
  led->SetGlyphOn(mine.get());
  led->SetState(lsOn);
  EXPECT_EQ(led->GlyphOn()->Width(), 9);
  EXPECT_TRUE(led->GlyphOn()->Transparent());
  // 9 x 9 centred in 25 x 25, transparent in its bottom-left colour
  EXPECT_EQ(Painted(led, 8 + 4, 8 + 4), clTeal);
  EXPECT_EQ(Painted(led, 8, 8 + 8), clAqua);
}

TEST_F(Led, StateIsTheProgramsWithoutAPortAndTheSignalsWithOne) {
  TStateLog log;
  auto* led = Add<TComLed>(10, 10, 25, 25);
  led->OnChange = log.Event();
  led->SetState(lsOn);
  led->SetState(lsOff);
  EXPECT_EQ(log.States, (std::vector<TLedState>{lsOn, lsOff}));

  TComPort* port = NewPort("COM7");
  led->SetState(lsOn);
  led->SetComPort(port);
  EXPECT_EQ(led->State(), lsOn) << "a closed port leaves the state as it was";
  try {
    led->SetState(lsOff);
    ADD_FAILURE() << "the state of a bound lamp was set";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, CError_LedStateFailed);
    EXPECT_EQ(e.Message, "Cannot change led state if ComPort is selected");
  }
  EXPECT_EQ(led->State(), lsOn);

  // A ring lights the lamp for RingDuration.
  log.States.clear();
  led->SetLedSignal(lsRing);
  led->SetRingDuration(150);
  EXPECT_EQ(led->RingDuration(), 150);
  port->CallRing();
  EXPECT_EQ(led->State(), lsOn);
  EXPECT_TRUE(WaitUntil([&] { return led->State() == lsOff; }, 5000));
  EXPECT_EQ(log.States, (std::vector<TLedState>{lsOn, lsOff}));

  // With another signal a ring does nothing.
  led->SetLedSignal(lsCTS);
  port->CallRing();
  EXPECT_EQ(led->State(), lsOff);

  led->SetComPort(nullptr);
  EXPECT_EQ(led->State(), lsOff);
  led->SetState(lsOn);
  EXPECT_EQ(led->State(), lsOn);
}

}  // namespace
