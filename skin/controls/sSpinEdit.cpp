#include "skin/controls/sSpinEdit.h"

DK_UNIT(sSpinEdit);

#include "classlib/ui/WinApi.h"

void TsBaseSpinEdit::WMKeyDown(TWMKey& Message) {
  if (Message.CharCode() == VK_UP) {
    UpClick();
    return;
  }
  if (Message.CharCode() == VK_DOWN) {
    DownClick();
    return;
  }
  InheritedMessage(TsBaseSpinEdit::StaticClass(), &Message);
}

DK_MESSAGE_UNIT(TsBaseSpinEdit);
DK_MESSAGE_HANDLER(TsBaseSpinEdit, WM_KEYDOWN, WMKeyDown);
DK_PUBLISH(TsBaseSpinEdit) {}

Integer TsSpinEdit::CheckValue(Integer Value) const {
  if (FMaxValue == 0 && FMinValue == 0) return Value;
  if (Value < FMinValue) return FMinValue;
  if (Value > FMaxValue) return FMaxValue;
  return Value;
}

Integer TsSpinEdit::Value() const {
  Integer v = StrToIntDef(Trim(const_cast<TsSpinEdit*>(this)->GetText()), FMinValue);
  return CheckValue(v);
}

void TsSpinEdit::SetValue(Integer Value) { SetText(IntToStr(CheckValue(Value))); }

void TsSpinEdit::UpClick() {
  if (!ReadOnly()) SetValue(Value() + FIncrement);
}

void TsSpinEdit::DownClick() {
  if (!ReadOnly()) SetValue(Value() - FIncrement);
}

DK_PUBLISH(TsSpinEdit) {
  P.Property("Increment", &TsSpinEdit::Increment, &TsSpinEdit::SetIncrement).Default(1);
  P.Property("MaxValue", &TsSpinEdit::MaxValue, &TsSpinEdit::SetMaxValue).Default(0);
  P.Property("MinValue", &TsSpinEdit::MinValue, &TsSpinEdit::SetMinValue).Default(0);
  P.Property("Value", &TsSpinEdit::Value, &TsSpinEdit::SetValue);
}
