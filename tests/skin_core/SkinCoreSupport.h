// What the tests of the skin engine's core share: hand-made skinned controls
// (a window control and a graphic control, each with a TsCommonData) that log
// every skin command they hear and can answer or fail on chosen ones, a
// counter of the messages sent to windows of the thread (a WH_CALLWNDPROC
// hook), test forms, and skins made by the test.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "../skin_manager/SkinManagerSupport.h"
#include "MessageCounter.h"
#include "classlib/ui/Forms.h"
#include "skin/core/Smessages.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"

namespace skincore {

// One skin command a control heard.
struct TCommandRecord {
  Word Command = 0;
  Word Low = 0;
  LPARAM LParam = 0;
  AnsiString Text;  // the section name of command 13
};

// The log of a hand-made control, its canned answers and the command it fails on.
class TCommandLog {
 public:
  std::vector<TCommandRecord> Log;
  // Answers given instead of the skin state's (by command).
  std::map<Word, LRESULT> Answers;
  // A command whose handling raises an exception (0: none).
  Word ThrowOn = 0;

  int Count(Word Command) const {
    return static_cast<int>(std::count_if(Log.begin(), Log.end(), [&](const TCommandRecord& r) {
      return r.Command == Command;
    }));
  }
  int Count(Word Command, LPARAM LParam) const {
    return static_cast<int>(std::count_if(Log.begin(), Log.end(), [&](const TCommandRecord& r) {
      return r.Command == Command && r.LParam == LParam;
    }));
  }
  // The commands heard, in order.
  std::vector<Word> Commands() const {
    std::vector<Word> c;
    for (const TCommandRecord& r : Log) c.push_back(r.Command);
    return c;
  }

 protected:
  // Logs a skin command; true when a canned answer was given.
  bool Hear(TMessage& Message) {
    if (Message.Msg != SM_ALPHACMD) return false;
    TCommandRecord r{AlphaCmdOf(Message.WParam), AlphaCmdLow(Message.WParam), Message.LParam, {}};
    if (r.Command == ACMD_SECTION_CHANGED && Message.LParam) r.Text = reinterpret_cast<const char*>(Message.LParam);
    Log.push_back(r);
    if (ThrowOn && r.Command == ThrowOn) throw Exception("a control failed on a skin command");
    auto answer = Answers.find(r.Command);
    if (answer == Answers.end()) return false;
    Message.Result = answer->second;
    return true;
  }
};

// The colour a hand-made control shows: its section's normal colour while it
// is skinned, else its own.
inline TColor ShownColor(TControl* Control, TsCommonData* Data) {
  if (!Data->Skinned()) return Control->Color();
  return Data->GetSkinManager()->Sections[static_cast<size_t>(Data->SkinIndex)].Props[0].Color;
}

// Repaints a control after the skin commands that change its look, as a
// skinned control does.
inline void RepaintOnSkinChange(TControl* Control, const TMessage& Message) {
  if (Message.Msg != SM_ALPHACMD) return;
  const Word c = AlphaCmdOf(Message.WParam);
  if (c == ACMD_SKIN_LOADED || c == ACMD_SKIN_UNLOADED || c == ACMD_SKIN_REPAINT) Control->Invalidate();
}

// A skinned control made by hand on a class-library control: its messages go
// to CommonWndProc before the class library's; it shows its colour.
template <class Base>
class TLoggedControl : public Base, public TCommandLog {
 public:
  explicit TLoggedControl(TComponent* AOwner) : Base(AOwner) {}
  void Construct() override {
    Base::Construct();
    FSkinData = std::make_unique<TsCommonData>(this, true);
  }
  TsCommonData* SkinData() const { return FSkinData.get(); }
  void WndProc(TMessage& Message) override {
    if (Hear(Message)) return;
    if (Message.Msg == WM_PRINT) {
      // As skinned controls print: their look, whatever the flags ask.
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(ShownColor(this, FSkinData.get()))));
      const RECT r{0, 0, this->Width(), this->Height()};
      FillRect(reinterpret_cast<HDC>(Message.WParam), &r, brush);
      DeleteObject(brush);
      return;
    }
    if (CommonWndProc(Message, FSkinData.get())) {
      RepaintOnSkinChange(this, Message);
      return;
    }
    Base::WndProc(Message);
  }

 protected:
  void Paint() override {
    this->Canvas()->Brush()->SetColor(ShownColor(this, FSkinData.get()));
    this->Canvas()->FillRect(this->ClientRect());
  }

 private:
  std::unique_ptr<TsCommonData> FSkinData;
};

// A window control (it hears commands through its window once it has one).
class TLoggedWinControl : public TLoggedControl<TCustomControl> {
  DK_CLASS(TLoggedWinControl, TLoggedControl<TCustomControl>)
 public:
  using TLoggedControl<TCustomControl>::TLoggedControl;
};

// A graphic control (it hears commands by Perform).
class TLoggedGraphicControl : public TLoggedControl<TGraphicControl> {
  DK_CLASS(TLoggedGraphicControl, TLoggedControl<TGraphicControl>)
 public:
  using TLoggedControl<TGraphicControl>::TLoggedControl;
};

// A hand-made control of kind Kind and section Section on Parent at the
// given place, loaded as a form's stream would leave it.
template <class T>
T* NewControl(TWinControl* Parent, Integer Kind, const AnsiString& Section, TRect Bounds = TRect{10, 10, 90, 35}) {
  T* c = Create<T>(Parent);
  c->SkinData()->KindCode = Kind;
  if (!Section.empty()) c->SkinData()->SetSkinSection(Section);
  c->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
  c->SetParent(Parent);
  c->SkinData()->Loaded();
  return c;
}

// A shown form of the application (its components are freed with it); Tag
// bit 0x100 keeps the window-creation hook from giving it a provider.
inline TForm* NewForm(const AnsiString& Name, Integer Left = 40, Integer Top = 40, NativeInt Tag = 0) {
  TForm* f = Create<TForm>(Application, 0);
  f->SetName(Name);
  f->SetTag(Tag);
  f->SetBounds(Left, Top, 260, 160);
  f->Show();
  return f;
}

// The text of a skin with plain sections: each name gets COLOR and
// TRANSPARENCY (by the pairs given) and nothing else.
struct TSectionLook {
  const char* Name;
  TColor Color = 0xFFFFFF;
  Integer Transparency = 0;
  const char* More = "";
};
inline std::string SkinTextOf(std::initializer_list<TSectionLook> Sections) {
  std::string text = "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\n";
  for (const TSectionLook& s : Sections)
    text += "[" + std::string(s.Name) + "]\r\nCOLOR=" + std::to_string(s.Color) +
            "\r\nTRANSPARENCY=" + std::to_string(s.Transparency) + "\r\n" + s.More;
  return text;
}

// Frees a component at the end of a scope.
template <class T>
struct TFreeAtEnd {
  T* Object;
  ~TFreeAtEnd() {
    if (Object) Object->Free();
  }
};

}  // namespace skincore
