#include "classlib/core/System.h"

#include <memory>
#include <mutex>
#include <vector>

#include "classlib/core/SysUtils.h"

TClass TObject::StaticClass() {
  static const TClassInfo info{"TObject", nullptr, TFactoryKind::Plain, &dk::NewInstance<TObject>,
                               &typeid(TObject)};
  return &info;
}

namespace {
std::mutex& RegistryMutex() {
  static std::mutex m;
  return m;
}
}  // namespace

TObject* TClassInfo::CreateInstance(void* arg) const {
  if (!Factory) throw EInvalidOperation(AnsiString("Cannot create an instance of the abstract class ") + Name);
  TObject* obj = Factory(arg);
  try {
    obj->Construct();
    obj->AfterConstruction();
  } catch (...) {
    delete obj;
    throw;
  }
  return obj;
}

void RegisterMessageHandler(TClass cls, Cardinal id, void (*thunk)(TObject*, void*)) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  if (!cls->Messages) cls->Messages = new std::map<Cardinal, void (*)(TObject*, void*)>();
  (*cls->Messages)[id] = thunk;
}

static void DispatchFrom(TObject* self, TClass cls, void* Message) {
  Cardinal id;
  std::memcpy(&id, Message, sizeof id);
  for (TClass c = cls; c; c = c->Parent) {
    if (c->Messages) {
      auto it = c->Messages->find(id);
      if (it != c->Messages->end()) {
        it->second(self, Message);
        return;
      }
    }
  }
  self->DefaultHandler(Message);
}

void TObject::Dispatch(void* Message) { DispatchFrom(this, ClassType(), Message); }

void TObject::InheritedMessage(TClass from, void* Message) {
  DispatchFrom(this, from ? from->Parent : nullptr, Message);
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

namespace dk {
const MethodDesc* InternMethod(const std::type_info& sig, const std::type_info& owner, const void* mp,
                               std::size_t size, void* invoker) {
  static std::vector<std::unique_ptr<MethodDesc>> table;
  std::string bytes(static_cast<const char*>(mp), size);
  std::lock_guard<std::mutex> lock(RegistryMutex());
  for (auto& d : table)
    if (*d->Signature == sig && *d->Owner == owner && d->Bytes == bytes) return d.get();
  auto d = std::make_unique<MethodDesc>();
  d->Signature = &sig;
  d->Owner = &owner;
  d->Bytes = bytes;
  d->Invoker = invoker;
  std::memset(d->Storage, 0, sizeof d->Storage);
  std::memcpy(d->Storage, mp, size);
  table.push_back(std::move(d));
  return table.back().get();
}
}  // namespace dk
