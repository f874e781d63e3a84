// The Windows part of the Classes unit: streams over the resources of a module.
#include "classlib/core/Classes.h"
#include "classlib/ui/WinApi.h"

namespace {

// A resource name or type: a text, or a number ("#10" or an integer resource).
std::wstring ResourceText(const char* Value) { return winapi::W(Value); }

void* FindData(std::uintptr_t Instance, LPCWSTR Name, LPCWSTR Type, const AnsiString& Shown, Int64& Size) {
  auto module = reinterpret_cast<HMODULE>(Instance);
  HRSRC res = FindResourceW(module, Name, Type);
  HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
  void* data = mem ? LockResource(mem) : nullptr;
  if (!data) throw EResNotFound(Format("Resource %s not found", {Shown}));
  Size = SizeofResource(module, res);
  return data;
}

}  // namespace

TResourceStream::TResourceStream(std::uintptr_t Instance, const AnsiString& ResName, const char* ResType) {
  std::wstring name = winapi::W(ResName), type;
  LPCWSTR t = IS_INTRESOURCE(ResType) ? reinterpret_cast<LPCWSTR>(ResType) : (type = ResourceText(ResType)).c_str();
  Int64 size = 0;
  void* data = FindData(Instance, name.c_str(), t, ResName, size);
  SetPointer(data, size);
}

TResourceStream::TResourceStream(std::uintptr_t Instance, Integer ResID, const char* ResType) {
  std::wstring type;
  LPCWSTR t = IS_INTRESOURCE(ResType) ? reinterpret_cast<LPCWSTR>(ResType) : (type = ResourceText(ResType)).c_str();
  Int64 size = 0;
  void* data = FindData(Instance, MAKEINTRESOURCEW(ResID), t, IntToStr(ResID), size);
  SetPointer(data, size);
}

Integer TResourceStream::Write(const void*, Integer) { throw EStreamError("Can't write to a read-only resource stream"); }
