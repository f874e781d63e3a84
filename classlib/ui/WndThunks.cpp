// The thunk pool: blocks of code pages and data pages (see WndThunks.h).
#include "classlib/ui/WndThunks.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>

#include "classlib/core/SysUtils.h"

namespace dk {
namespace {

// One block: kCodeBytes of thunks, then as many bytes of their slots. Thunk i
// stands at i * kSlotBytes of the code, its slot (data, target) at the same
// offset of the data half, so that a thunk finds its slot kCodeBytes ahead.
constexpr size_t kSlotBytes = 16;
constexpr size_t kCodeBytes = 32768;
constexpr size_t kBlockBytes = 2 * kCodeBytes;
constexpr size_t kThunksPerBlock = kCodeBytes / kSlotBytes;

struct TSlot {
  void* Data;
  TThunkTarget Target;
};
static_assert(sizeof(TSlot) <= kSlotBytes);

std::atomic<long> gStaleCalls{0};

LRESULT CALLBACK StaleCall(void*, UINT, WPARAM, LPARAM) {
  ++gStaleCalls;
  return 0;
}

#if defined(_WIN64)
// mov rcx, [rip + slot.Data]; jmp [rip + slot.Target]
void WriteCode(unsigned char* p, unsigned char*) {
  const std::int32_t toData = static_cast<std::int32_t>(kCodeBytes - 7);
  const std::int32_t toTarget = static_cast<std::int32_t>(kCodeBytes + sizeof(void*) - 13);
  p[0] = 0x48; p[1] = 0x8B; p[2] = 0x0D;  // mov rcx, [rip + disp32]
  std::memcpy(p + 3, &toData, 4);
  p[7] = 0xFF; p[8] = 0x25;  // jmp [rip + disp32]
  std::memcpy(p + 9, &toTarget, 4);
}
#else
// mov eax, [slot.Data]; mov [esp + 4], eax; jmp [slot.Target]
void WriteCode(unsigned char* p, unsigned char* slot) {
  const std::uint32_t data = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(slot));
  const std::uint32_t target = data + sizeof(void*);
  p[0] = 0xA1;  // mov eax, [imm32]
  std::memcpy(p + 1, &data, 4);
  p[5] = 0x89; p[6] = 0x44; p[7] = 0x24; p[8] = 0x04;  // mov [esp + 4], eax
  p[9] = 0xFF; p[10] = 0x25;  // jmp [imm32]
  std::memcpy(p + 11, &target, 4);
}
#endif

class TThunkPool {
 public:
  WNDPROC Alloc(void* Data, TThunkTarget Target) {
    std::lock_guard<std::mutex> lock(FLock);
    if (FFree.empty()) Grow();
    unsigned char* code = FFree.front();
    FFree.pop_front();
    Set(code, Data, Target);
    return reinterpret_cast<WNDPROC>(code);
  }
  void Retarget(WNDPROC Thunk, void* Data, TThunkTarget Target) {
    Set(reinterpret_cast<unsigned char*>(Thunk), Data, Target);
  }
  // Freed thunks are reused last (first in, first out), so that a stale call
  // reaches the counter rather than a new owner.
  void Free(WNDPROC Thunk) {
    if (!Thunk) return;
    auto* code = reinterpret_cast<unsigned char*>(Thunk);
    std::lock_guard<std::mutex> lock(FLock);
    Set(code, nullptr, &StaleCall);
    FFree.push_back(code);
  }

 private:
  static TSlot* SlotOf(unsigned char* Code) { return reinterpret_cast<TSlot*>(Code + kCodeBytes); }
  static void Set(unsigned char* Code, void* Data, TThunkTarget Target) {
    TSlot* slot = SlotOf(Code);
    slot->Data = Data;
    slot->Target = Target;
  }
  // The code is written while its pages are read-write, then they become
  // execute-read and stay so; the slots' pages stay read-write.
  void Grow() {
    auto* block = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, kBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block) throw EOutOfResources("Out of system resources");
    std::memset(block, 0xCC, kCodeBytes);  // int3 between the thunks
    for (size_t i = 0; i < kThunksPerBlock; ++i) {
      unsigned char* code = block + i * kSlotBytes;
      WriteCode(code, reinterpret_cast<unsigned char*>(SlotOf(code)));
      Set(code, nullptr, &StaleCall);
      FFree.push_back(code);
    }
    DWORD old = 0;
    if (!VirtualProtect(block, kCodeBytes, PAGE_EXECUTE_READ, &old)) {
      VirtualFree(block, 0, MEM_RELEASE);
      throw EOutOfResources("Out of system resources");
    }
    FlushInstructionCache(GetCurrentProcess(), block, kCodeBytes);
  }
  std::mutex FLock;
  std::deque<unsigned char*> FFree;
};

TThunkPool& Pool() {
  static TThunkPool* pool = new TThunkPool;  // lives as long as any window might
  return *pool;
}

}  // namespace

WNDPROC AllocThunk(void* Data, TThunkTarget Target) { return Pool().Alloc(Data, Target); }
void RetargetThunk(WNDPROC Thunk, void* Data, TThunkTarget Target) { Pool().Retarget(Thunk, Data, Target); }
void FreeThunk(WNDPROC Thunk) { Pool().Free(Thunk); }
long StaleThunkCalls() { return gStaleCalls.load(); }

}  // namespace dk
