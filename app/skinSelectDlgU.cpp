#include "app/skinSelectDlgU.h"

TskinSelectDlg* skinSelectDlg = nullptr;

DK_PUBLISH(TskinSelectDlg) {}
