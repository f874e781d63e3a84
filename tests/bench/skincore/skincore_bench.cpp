// One figure of the skin engine's core, in one run: the broadcast of the skin
// command 3 (repaint) by AppBroadCastS to nine forms that hold 200 skinned
// window controls made by hand, against sending WM_NULL to the same windows
// one by one (the forms and the controls), and their ratio. Rounds of the two
// alternate, so that both see the same machine; the best round counts.
//
//   scripts/wine-exec build/win64/bin/skincore_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "../../skin_data/SkinFixture.h"
#include "classlib/ui/Forms.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kForms = 9;
constexpr int kControls = 200;

// A skinned window control as the skinned controls are built: its skin state
// answers the skin command before the class library sees the message.
class TBenchControl : public TCustomControl {
  DK_CLASS(TBenchControl, TCustomControl)
 public:
  explicit TBenchControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  void Construct() override {
    inherited::Construct();
    FSkinData = std::make_unique<TsCommonData>(this, true);
    FSkinData->KindCode = COC_TsButton;
  }
  TsCommonData* SkinData() const { return FSkinData.get(); }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD && AlphaCmdOf(Message.WParam) == ACMD_SKIN_REPAINT) ++Heard;
    if (CommonWndProc(Message, FSkinData.get())) return;
    inherited::WndProc(Message);
  }
  static inline int Heard = 0;

 private:
  std::unique_ptr<TsCommonData> FSkinData;
};

double BroadcastMicroseconds(TsSkinManager* Manager) {
  TMessage message = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_REPAINT), reinterpret_cast<LPARAM>(Manager), 0);
  auto start = Clock::now();
  AppBroadCastS(message);
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double NullMicroseconds(const std::vector<HWND>& Windows) {
  auto start = Clock::now();
  for (HWND wnd : Windows) SendMessageW(wnd, WM_NULL, 0, 0);
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  Application->Initialize();
  skinfixture::TTempDir dir("skincore_bench");
  skinfixture::WriteFile(dir.Path / "bench" / "Options.dat",
                         "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\n[BUTTON]\r\nCOLOR=12632256\r\n");
  skinfixture::WriteFile(dir.Path / "bench" / "MASTER.BMP",
                         skinfixture::BmpFile(skinfixture::TPicture(96, 96, 0x808080)));
  TsSkinManager* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(dir.Path.string());
  manager->SetSkinName("bench");

  std::vector<HWND> windows;
  std::vector<TForm*> forms;
  for (int f = 0; f < kForms; ++f) {
    TForm* form = Create<TForm>(Application, 0);
    form->SetBounds(20 + 30 * f, 20 + 20 * f, 420, 330);
    forms.push_back(form);
  }
  for (int i = 0; i < kControls; ++i) {
    TForm* form = forms[static_cast<size_t>(i % kForms)];
    const int n = i / kForms;
    auto* c = Create<TBenchControl>(form);
    c->SkinData()->SetSkinSection("BUTTON");
    c->SetBounds(5 + (n % 4) * 100, 5 + (n / 4) * 40, 95, 35);
    c->SetParent(form);
    c->SkinData()->Loaded();
  }
  for (TForm* form : forms) {
    form->Show();
    windows.push_back(form->Handle());
    for (TWinControl* c : form->WinControls()) windows.push_back(c->Handle());
  }
  Application->ProcessMessages();

  TBenchControl::Heard = 0;
  BroadcastMicroseconds(manager);
  std::printf("controls that heard one broadcast: %d of %d\n", TBenchControl::Heard, kControls);
  double broadcast = 1e300, null = 1e300;
  for (int i = 0; i < rounds; ++i) {
    null = std::min(null, NullMicroseconds(windows));
    broadcast = std::min(broadcast, BroadcastMicroseconds(manager));
  }
  std::printf("AppBroadCastS of the skin command 3 to %d forms with %d skinned window controls: %.1f us\n", kForms,
              kControls, broadcast);
  std::printf("WM_NULL sent to the same %zu windows one by one: %.1f us\n", windows.size(), null);
  std::printf("ratio: %.2f (at most 4 wanted)\n", broadcast / null);
  for (TForm* form : forms) form->Free();
  manager->Free();
  return broadcast <= 4 * null ? 0 : 1;
}
