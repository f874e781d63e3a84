// The controls read from form resources: bound by name to a port of the same
// form or of another form, their property and selection as streamed.
#include "CtlTestSupport.h"

#include <memory>

using namespace ctltest;

class TCtlPortForm : public TForm {
  DK_CLASS(TCtlPortForm, TForm)
 public:
  using TForm::TForm;
};
DK_PUBLISH(TCtlPortForm) {}

class TCtlTestForm : public TForm {
  DK_CLASS(TCtlTestForm, TForm)
 public:
  using TForm::TForm;
  template <class T>
  T* Part(const char* Name) {
    auto* c = dynamic_cast<T*>(FindComponent(Name));
    EXPECT_NE(c, nullptr) << Name;
    return c;
  }
};
DK_PUBLISH(TCtlTestForm) {}

namespace {

template <class T>
using Owned = std::unique_ptr<T, void (*)(T*)>;
template <class T>
Owned<T> Make() {
  return Owned<T>(Create<T>(Application), [](T* f) { f->Free(); });
}

TEST(Streaming, ControlsFromAFormResourceBindToTheirPortsByName) {
  // The form that refers to another form's port comes first: the reference
  // waits until that form is read.
  Owned<TCtlTestForm> form = Make<TCtlTestForm>();
  auto* baud = form->Part<TComComboBox>("Com1BaudSet");
  auto* parity = form->Part<TComComboBox>("ComParityComboBox");
  auto* free = form->Part<TComComboBox>("FreeBaud");
  auto* group = form->Part<TComRadioGroup>("StopBitsGroup");
  auto* led = form->Part<TComLed>("Led1");
  auto* local = form->Part<TComPort>("ComPort2");
  ASSERT_TRUE(baud && parity && free && group && led && local);
  EXPECT_EQ(baud->ComPort(), nullptr);
  EXPECT_EQ(baud->ItemIndex(), 13) << "the streamed selection";
  EXPECT_EQ(baud->Text(), "115200");

  Owned<TCtlPortForm> portForm = Make<TCtlPortForm>();
  auto* port = dynamic_cast<TComPort*>(portForm->FindComponent("ComPort1"));
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(baud->ComPort(), port);
  EXPECT_EQ(baud->ComProperty(), cpBaudRate);
  EXPECT_EQ(baud->Style(), csDropDownList);
  EXPECT_EQ(baud->ItemIndex(), 13);
  EXPECT_EQ(baud->Text(), "115200");
  EXPECT_EQ(parity->ComPort(), port);
  EXPECT_EQ(parity->Text(), "Even") << "the port's value, read once bound";

  // A selection given before the property (the order the writer uses) stays.
  EXPECT_EQ(free->ComPort(), nullptr);
  EXPECT_EQ(free->Text(), "115200");

  EXPECT_EQ(group->ComPort(), local);
  EXPECT_EQ(ItemsOf(group->Items()), (std::vector<std::string>{"1", "1.5", "2"}));
  EXPECT_EQ(group->ItemIndex(), 2);

  EXPECT_EQ(led->ComPort(), local);
  EXPECT_EQ(led->Kind(), lkGreenLight);
  EXPECT_EQ(led->LedSignal(), lsDSR);
  EXPECT_EQ(led->RingDuration(), 500);
  EXPECT_EQ(led->Width(), 25);
  EXPECT_EQ(led->Height(), 25);

  // The bound list works as one made by the program.
  form->Show();
  Raise(form->Handle(), 660, 60);
  testsupport::PumpMessages(100);
  testsupport::Screenshot(form->Handle(), "serial_ctl_form_resource");
  Choose(baud, "57600");
  baud->ApplySettings();
  EXPECT_EQ(port->BaudRate(), br57600);

  // Written back, the lists keep their property and leave their items out.
  TMemoryStream binary;
  binary.WriteComponent(form.get());
  binary.SetPosition(0);
  TMemoryStream text;
  ObjectBinaryToText(&binary, &text);
  AnsiString written(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
  EXPECT_NE(written.find("ComProperty = cpBaudRate"), AnsiString::npos) << written;
  EXPECT_NE(written.find("Kind = lkGreenLight"), AnsiString::npos) << written;
  EXPECT_EQ(written.find("Items.Strings"), AnsiString::npos) << written;
  EXPECT_EQ(written.find("GlyphOn"), AnsiString::npos) << written;
}

}  // namespace
