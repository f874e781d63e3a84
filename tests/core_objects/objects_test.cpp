// Objects and components: identity, messages, events, ownership, names,
// notifications, destruction order and collections.
#include <gtest/gtest.h>

#include <memory>

#include "fixture.h"

namespace {

struct TTestMessage {
  Cardinal Msg;
  int Result;
};
enum : Cardinal { WM_ONE = 1, WM_TWO = 2, WM_THREE = 3 };

class TBase : public TObject {
  DK_CLASS(TBase, TObject)
  DK_MESSAGES(TBase)
 public:
  std::string Seen;
  void One(TTestMessage& m) { Seen += "base-one "; }
  void Two(TTestMessage& m) { Seen += "base-two "; }
  void DefaultHandler(void* Message) override { Seen += "default "; }
};
class TDerived : public TBase {
  DK_CLASS(TDerived, TBase)
  DK_MESSAGES(TDerived)
 public:
  void One(TTestMessage& m) {
    Seen += "derived-one ";
    InheritedMessage(TDerived::StaticClass(), &m);
  }
};
DK_MESSAGE_UNIT(TBase);
DK_MESSAGE_HANDLER(TBase, WM_ONE, One);
DK_MESSAGE_HANDLER(TBase, WM_TWO, Two);
DK_MESSAGE_UNIT(TDerived);
DK_MESSAGE_HANDLER(TDerived, WM_ONE, One);

// Records what reaches it.
class TWatcher : public TComponent {
  DK_CLASS(TWatcher, TComponent)
 public:
  using TComponent::TComponent;
  ~TWatcher() override { Log().push_back("free " + Name()); }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    Log().push_back(Name() + (Operation == opInsert ? " +" : " -") + AComponent->ClassName() + ":" +
                    AComponent->Name() + (ComponentState().Contains(csDestroying) ? " (dying)" : ""));
  }
};

TWatcher* Make(TComponent* owner, const char* name) {
  auto* w = Create<TWatcher>(owner);
  w->SetName(name);
  return w;
}

}  // namespace

TEST(Objects, ClassIdentity) {
  std::unique_ptr<TObject> d(Create<TDerived>());
  EXPECT_EQ(d->ClassName(), "TDerived");
  EXPECT_EQ(d->ClassParent(), TBase::StaticClass());
  EXPECT_TRUE(d->InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TBase::StaticClass()->InheritsFrom(TDerived::StaticClass()));
  EXPECT_EQ(TObject::StaticClass()->ClassParent(), nullptr);
  // The registry's virtual constructor builds the right class through its factory.
  std::unique_ptr<TObject> f(TTestFont::StaticClass()->CreateInstance());
  EXPECT_EQ(f->ClassType(), TTestFont::StaticClass());
  EXPECT_EQ(TComponent::StaticClass()->FactoryKind, TFactoryKind::Component);
  EXPECT_EQ(TTestItems::StaticClass()->FactoryKind, TFactoryKind::None) << "not a component, no default constructor";
}

TEST(Objects, DispatchByMessageNumber) {
  struct Case {
    TBase* obj;
    Cardinal msg;
    const char* seen;
  };
  TBase base;
  TDerived derived;
  for (auto c : {Case{&base, WM_ONE, "base-one "}, Case{&base, WM_THREE, "default "},
                 Case{&derived, WM_ONE, "derived-one base-one "}, Case{&derived, WM_TWO, "base-two "},
                 Case{&derived, WM_THREE, "default "}}) {
    c.obj->Seen.clear();
    TTestMessage m{c.msg, 0};
    c.obj->Dispatch(&m);
    EXPECT_EQ(c.obj->Seen, c.seen) << c.msg;
  }
}

TEST(Objects, EventsCopyCompareClearAndCall) {
  std::unique_ptr<TTestForm> a(Create<TTestForm>(nullptr)), b(Create<TTestForm>(nullptr));
  TNotifyEvent e1(a.get(), &TTestForm::Button1Click);
  TNotifyEvent e2 = e1;
  TNotifyEvent other(a.get(), &TTestForm::OtherClick);
  TNotifyEvent elsewhere(b.get(), &TTestForm::Button1Click);
  EXPECT_TRUE(e1 == e2);
  EXPECT_FALSE(e1 == other);
  EXPECT_FALSE(e1 == elsewhere);
  EXPECT_EQ(e1.Method().Code, elsewhere.Method().Code);
  e2(nullptr);
  other(nullptr);
  EXPECT_EQ(a->Clicks, 11);
  e2 = nullptr;
  EXPECT_FALSE(static_cast<bool>(e2));
  EXPECT_TRUE(e2 == nullptr);
  // A method pair of another signature does not become this event.
  TClosure<void(int)> wrong = TClosure<void(int)>::FromMethod(e1.Method());
  EXPECT_FALSE(static_cast<bool>(wrong));
}

TEST(Objects, AssignWithoutSupportRaises) {
  std::unique_ptr<TTestFont> font(Create<TTestFont>());
  TTestItems items(nullptr);
  auto* item = items.Add();
  try {
    item->Assign(font.get());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TTestFont to a TTestItem");
  }
}

TEST(Components, NamesAreIdentifiersUniquePerOwner) {
  std::unique_ptr<TComponent> owner(Create<TComponent>(nullptr));
  auto* a = Create<TComponent>(owner.get());
  auto* b = Create<TComponent>(owner.get());
  a->SetName("Button1");
  struct Case {
    const char* name;
    const char* error;
  };
  for (auto c : {Case{"button1", "A component named button1 already exists"},
                 Case{"1abc", "'1abc' is not a valid component name"},
                 Case{"a b", "'a b' is not a valid component name"},
                 Case{"Кнопка", "'Кнопка' is not a valid component name"},
                 Case{"Knopka_1", nullptr}}) {
    try {
      b->SetName(c.name);
      EXPECT_EQ(c.error, nullptr) << c.name;
    } catch (const EComponentError& e) {
      ASSERT_NE(c.error, nullptr) << c.name;
      EXPECT_EQ(e.Message, c.error);
    }
  }
  EXPECT_EQ(b->Name(), "Knopka_1");
  a->SetName("BUTTON1");  // its own name in another case
  b->SetName("_2");
  EXPECT_EQ(owner->FindComponent("button1"), a);
  EXPECT_EQ(owner->FindComponent("nothing"), nullptr);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  // Components without an owner may share names.
  std::unique_ptr<TComponent> x(Create<TComponent>(nullptr)), y(Create<TComponent>(nullptr));
  x->SetName("Same");
  y->SetName("Same");
  // Moving to another owner checks the name there.
  std::unique_ptr<TComponent> owner2(Create<TComponent>(nullptr));
  auto* clash = Create<TComponent>(owner2.get());
  clash->SetName("Button1");
  EXPECT_THROW(owner->InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->Owner(), owner2.get());
}

TEST(Components, OwnershipAndIndexes) {
  std::unique_ptr<TComponent> owner(Create<TComponent>(nullptr));
  auto* a = Create<TComponent>(owner.get());
  auto* b = Create<TComponent>(owner.get());
  auto* c = Create<TComponent>(owner.get());
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(c->ComponentIndex(), 2);
  c->SetComponentIndex(0);
  EXPECT_EQ(owner->Components(0), c);
  EXPECT_THROW(owner->Components(3), EListError);
  owner->RemoveComponent(b);
  EXPECT_EQ(b->Owner(), nullptr);
  EXPECT_EQ(owner->ComponentCount(), 2);
  std::unique_ptr<TComponent> freeB(b);
  a->Free();  // freeing an owned component takes it out of the owner
  EXPECT_EQ(owner->ComponentCount(), 1);
  b->SetTag(static_cast<NativeInt>(reinterpret_cast<intptr_t>(owner.get())));
  EXPECT_EQ(reinterpret_cast<TComponent*>(b->Tag()), owner.get()) << "a tag holds a pointer";
}

TEST(Components, NotificationsAndDestructionOrder) {
  Log().clear();
  auto* form = Make(nullptr, "Form");
  auto* a = Make(form, "A");
  auto* b = Make(form, "B");
  std::unique_ptr<TWatcher> outsider(Make(nullptr, "Out"));
  b->FreeNotification(outsider.get());
  EXPECT_EQ(Log(), (std::vector<std::string>{"Form +TWatcher:", "A +TWatcher:", "Form +TWatcher:"}))
      << "the owner and its components hear of a new component";
  Log().clear();
  a->Free();
  EXPECT_EQ(Log(), (std::vector<std::string>{"B -TWatcher:A", "Form -TWatcher:A", "free A"}));
  Log().clear();
  Make(form, "C");
  Log().clear();
  form->Free();
  // csDestroying first, owned components freed last first, free notifications sent.
  EXPECT_EQ(Log(), (std::vector<std::string>{"free Form", "free C", "Out -TWatcher:B", "free B"}));
  Log().clear();
  outsider.reset();
  EXPECT_EQ(Log(), (std::vector<std::string>{"free Out"})) << "the dead B is no longer asked";
}

TEST(Components, DestroyingMarksOwnedComponents) {
  std::unique_ptr<TComponent> owner(Create<TComponent>(nullptr));
  auto* child = Create<TComponent>(owner.get());
  auto* grandchild = Create<TComponent>(child);
  owner->Destroying();
  EXPECT_TRUE(grandchild->ComponentState().Contains(csDestroying));
  owner->DestroyComponents();
  EXPECT_EQ(owner->ComponentCount(), 0);
  EXPECT_FALSE(owner->ComponentState().Contains(csDesigning));
}

TEST(Collections, ItemsIdsIndexesAndUpdates) {
  std::unique_ptr<TTestControl> owner(Create<TTestControl>(nullptr));
  owner->SetName("Panel1");
  TTestItems& items = *owner->FItems;
  auto* a = items.Add();
  auto* b = items.Add();
  auto* c = items.Insert(0);
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Items(0), c);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(c->ID(), 2);
  EXPECT_EQ(b->Index(), 2);
  EXPECT_EQ(items.FindItemID(1), b);
  EXPECT_EQ(items.GetOwner(), owner.get());
  EXPECT_EQ(b->GetNamePath(), "Panel1.Items[2]");
  EXPECT_EQ(b->DisplayName(), "TTestItem");
  int before = items.Updates;
  items.BeginUpdate();
  items.Add();
  items.Delete(0);
  EXPECT_EQ(items.Updates, before) << "no updates inside BeginUpdate/EndUpdate";
  items.EndUpdate();
  EXPECT_EQ(items.Updates, before + 1);
  delete a;  // an item freed directly leaves its collection
  EXPECT_EQ(items.Count(), 2);
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
  auto* d = items.Add();
  EXPECT_EQ(d->ID(), 4) << "ids are never reused";
  EXPECT_THROW(items.Delete(5), EListError);
}
