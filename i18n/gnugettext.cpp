#include "i18n/gnugettext.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "classlib/core/SysUtils.h"
#include "i18n/GettextPlatform.h"

using namespace i18n;

// ============================================================ unit state
namespace {

// The marker and the position of the first appended record behind it. A
// packing tool finds the marker in the program file and writes the position;
// the program reads it back from this constant.
extern "C" const volatile unsigned char GnuGettextAppendedMarker[44];
extern "C" const volatile unsigned char GnuGettextAppendedMarker[44] = {
    '6', '6', '3', '7', 'D', 'B', '2', 'E', '-', '6', '2', 'E', '1', '-', '4', 'A', '6', '0', '-', 'A', 'C', '1',
    '9', '-', 'C', '2', '3', '8', '6', '7', '0', '4', '6', 'A', '8', '9', 0,   0,   0,   0,   0,   0,   0,   0};

struct TUnitState {
  // Held shared by every use of the instance, taken exclusively by start-up
  // and shut-down, so shut-down waits for translations running on other
  // threads before it frees anything.
  std::shared_mutex Lock;
  TGnuGettextInstance* Instance = nullptr;
  AnsiString ExecutableFilename;
  std::unique_ptr<TAssemblyAnalyzer> Appended;

  std::shared_mutex ResourceStringDomainLock;
  std::vector<AnsiString> ResourceStringDomains;
  TResStringLoader PreviousLoader = nullptr;
  bool Started = false;

  std::mutex LibraryLock;
  std::atomic<bool> LibraryLoaded{false};
  platform::TExternalGettext Library;
};

TUnitState& State() {
  static TUnitState s;
  return s;
}

// Shared hold of the unit state for the calling thread; nested holds (a
// translation that loads a resource string, a handler that calls _) do not
// take the lock again.
thread_local int useDepth = 0;
class TUse {
 public:
  TUse() {
    if (useDepth++ == 0) State().Lock.lock_shared();
  }
  ~TUse() {
    if (--useDepth == 0) State().Lock.unlock_shared();
  }
  TUse(const TUse&) = delete;
  TUse& operator=(const TUse&) = delete;
  TGnuGettextInstance* Instance() const { return State().Instance; }
};

bool LibraryLoaded() { return State().LibraryLoaded.load(std::memory_order_acquire); }

AnsiString Upper(const AnsiString& s) {
  AnsiString u = s;
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return u;
}

AnsiString CatalogueName(const AnsiString& dir, const AnsiString& lang, const AnsiString& domain) {
  return dir + lang + PathDelim + "LC_MESSAGES" + PathDelim + domain + ".mo";
}

[[noreturn]] void RaiseCouldNotTranslate(const WideString& text) {
  throw Exception("Error: Could not translate " + WideToAnsi(text) +
                  ". Probably because the mo file doesn't contain utf-8 encoded translations.");
}

}  // namespace

// ============================================================ TDomain

TDomain::TDomain() = default;
TDomain::~TDomain() { UnmapCatalogue(); }

void TDomain::SetDirectory(const AnsiString& dir) {
  Directory = IncludeTrailingPathDelimiter(dir);
  UnmapCatalogue();
}

void TDomain::SetLanguage(const AnsiString& lang) {
  UnmapCatalogue();
  Language = lang;
}

bool TDomain::IsOpen() const {
  std::shared_lock<std::shared_mutex> l(Lock);
  return FIsOpen;
}

bool TDomain::Swapped() const {
  std::shared_lock<std::shared_mutex> l(Lock);
  return Catalogue.Swapped();
}

void TDomain::UnmapCatalogue() {
  std::unique_lock<std::shared_mutex> l(Lock);
  DropDecoded();
  Catalogue.Close();
  File.reset();
  FIsOpen = false;
  MustSearch = true;
}

void TDomain::MapCatalogue() {
  std::unique_lock<std::shared_mutex> l(Lock);
  if (FIsOpen || !MustSearch) return;
  const TAssemblyAnalyzer* appended = gnugettext::AppendedCatalogues();
  auto present = [&](const AnsiString& n) { return (appended && appended->HasFile(n)) || platform::FileExists(n); };
  AnsiString name = CatalogueName(Directory, Language, DomainName);
  if (!present(name)) name = CatalogueName(Directory, Language.substr(0, 2), DomainName);
  if (!present(name)) {
    MustSearch = false;
    return;
  }
  TAssemblyAnalyzer::TPlacement place{name, 0, 0};
  if (appended) place = appended->FindFile(name);
  CatalogueOffset = place.Offset;
  // Errors while opening leave the domain to be searched again next time.
  std::unique_ptr<platform::TMappedFile> file = platform::MapFile(place.FileName);
  // The catalogue lies within the file: from its offset to its recorded size
  // or the end of the file.
  bool valid = place.Offset >= 0 && std::uint64_t(place.Offset) <= file->Size;
  if (valid) {
    std::size_t size = file->Size - std::size_t(place.Offset);
    if (place.Size > 0 && std::uint64_t(place.Size) < size) size = std::size_t(place.Size);
    valid = Catalogue.Open(file->Data + place.Offset, size);
  }
  if (!valid) {
    // A damaged catalogue counts as absent until the folder or language
    // changes: texts stay as written, and an error message being built from
    // a resource string is not replaced by one about the catalogue.
    MustSearch = false;
    return;
  }
  File = std::move(file);
  DecodedEntries = std::make_unique<std::atomic<const std::u16string*>[]>(Catalogue.StringCount());
  FIsOpen = true;
}

const std::u16string* TDomain::Decoded(std::uint32_t i) {
  std::atomic<const std::u16string*>& slot = DecodedEntries[i];
  if (const std::u16string* known = slot.load(std::memory_order_acquire)) return known;
  auto fresh = std::make_unique<std::u16string>();
  if (!DecodeTranslation(Catalogue.Translation(i), *fresh)) return nullptr;
  const std::u16string* first = nullptr;
  if (slot.compare_exchange_strong(first, fresh.get(), std::memory_order_acq_rel)) return fresh.release();
  return first;
}

void TDomain::DropDecoded() {
  if (!DecodedEntries) return;
  for (std::uint32_t i = 0; i < Catalogue.StringCount(); ++i) delete DecodedEntries[i].load(std::memory_order_relaxed);
  DecodedEntries.reset();
}

std::optional<std::string> TDomain::LookupMsgid(std::string_view msgid) {
  std::optional<std::string> result;
  WithTranslation(msgid, [&](std::string_view t) { result.emplace(t); });
  return result;
}

// ============================================================ small classes

void TExecutable::Execute() { throw EAbstractError("Abstract Error"); }

void TTP_Retranslator::Remember(TObject* obj, const AnsiString& propertyName, const WideString& value) {
  auto item = std::make_unique<TTP_RetranslatorItem>();
  item->TargetObject = obj;
  item->PropertyName = propertyName;
  item->UntranslatedValue = value;
  Entries.push_back(std::move(item));
}

void TTP_Retranslator::Execute() {
  for (const auto& e : Entries) {
    if (auto* list = dynamic_cast<TStrings*>(e->TargetObject)) {
      list->SetText(WideToAnsi(e->UntranslatedValue));
      OwnerInstance->TranslateStrings(list, DomainUsed);
      continue;
    }
    const WideString translated = OwnerInstance->dgettext(DomainUsed, e->UntranslatedValue);
    PPropInfo prop = GetPropInfo(e->TargetObject, e->PropertyName);
    if (!prop) throw Exception("Property disappeared...");
    if (prop->PropType->Kind == tkWString || prop->PropType->Kind == tkUString)
      SetWideStrProp(e->TargetObject, prop, translated);
    else
      SetStrProp(e->TargetObject, prop, WideToAnsi(translated));
  }
}

TGnuGettextComponentMarker::TGnuGettextComponentMarker(TComponent* AOwner) : TComponent(AOwner) {}
TGnuGettextComponentMarker::~TGnuGettextComponentMarker() { delete MarkerRetranslator; }

// ============================================================ the instance

TGnuGettextInstance::TGnuGettextInstance() {
  AnsiString exe = gnugettext::ExecutableFilename();
  if (exe.empty()) exe = platform::ExecutableFileName();
  FDefaultDomainDirectory = IncludeTrailingPathDelimiter(ExtractFilePath(exe)) + "locale";
  UseLanguage("");
  bindtextdomain("default", FDefaultDomainDirectory);
  textdomain("default");
  TP_GlobalIgnoreClassProperty(TComponent::StaticClass(), "Name");
  TP_GlobalIgnoreClassProperty(TCollection::StaticClass(), "PropName");
}

TGnuGettextInstance::~TGnuGettextInstance() {
  std::lock_guard<std::mutex> l(SaveLock);
  if (UntranslatedFile) std::fclose(UntranslatedFile);
  UntranslatedFile = nullptr;
}

namespace {
bool SameName(const AnsiString& upper, const AnsiString& name) {
  if (upper.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}
}  // namespace

TDomain* TGnuGettextInstance::FindDomain(const AnsiString& name) const {
  for (const TDomainEntry* d = Domains.load(std::memory_order_acquire); d; d = d->Next)
    if (SameName(d->Key, name)) return d->Domain.get();
  return nullptr;
}

TDomain* TGnuGettextInstance::FindOrCreateDomain(const AnsiString& name) {
  if (TDomain* known = FindDomain(name)) return known;
  std::lock_guard<std::mutex> l(DomainsLock);
  if (TDomain* known = FindDomain(name)) return known;
  auto entry = std::make_unique<TDomainEntry>();
  entry->Key = Upper(name);
  entry->Domain = std::make_unique<TDomain>();
  entry->Domain->DomainName = name;
  entry->Domain->SetDirectory(FDefaultDomainDirectory);
  entry->Domain->SetLanguage(CurrentLanguage);
  entry->Next = Domains.load(std::memory_order_relaxed);
  Domains.store(entry.get(), std::memory_order_release);
  DomainStore.push_back(std::move(entry));
  return DomainStore.back()->Domain.get();
}

std::optional<WideString> TGnuGettextInstance::Lookup(const AnsiString& domain, const WideString& text) {
  const TCatalogueKey key(text);
  std::optional<WideString> result;
  bool valid = true;
  if (LibraryLoaded()) {
    const char* answer = State().Library.Dgettext(domain.c_str(), key.CStr());
    if (answer && key.View() != answer) valid = DecodeTranslation(answer, result.emplace());
  } else {
    FindOrCreateDomain(domain)->WithWideTranslation(key.View(), [&](const std::u16string* t) {
      valid = t != nullptr;
      if (valid) result.emplace(*t);
    });
  }
  if (!valid || (result && result->empty() && !text.empty())) RaiseCouldNotTranslate(text);
  return result;
}

WideString TGnuGettextInstance::gettext(const WideString& text) { return dgettext(CurrentDomain, text); }

WideString TGnuGettextInstance::dgettext(const AnsiString& domain, const WideString& text) {
  if (!TranslationEnabled) return text;
  std::optional<WideString> result = Lookup(domain, text);
  // Not found: the text exactly as given.
  if (!result) result = text;
  if (domain == "default" && *result == text) SaveCheck(text);
  return std::move(*result);
}

WideString TGnuGettextInstance::ngettext(const WideString& singular, const WideString& plural, Integer count) {
  return dngettext(AnsiToWide(CurrentDomain), singular, plural, count);
}

WideString TGnuGettextInstance::dngettext(const WideString& domain, const WideString& singular,
                                          const WideString& plural, Integer count) {
  WideString key = singular;
  key += u'\0';
  key += plural;
  const AnsiString domain8 = WideToAnsi(domain);
  std::optional<WideString> found = TranslationEnabled ? Lookup(domain8, key) : std::nullopt;
  int form;
  WideString answer;
  if (found) {
    answer = *found;
    form = PluralForm(count);
  } else {
    answer = key;
    if (TranslationEnabled && domain8 == "default") SaveCheck(key);
    form = PluralRuleGermanic(count);
  }
  // The piece at the form index; the last one when there are fewer.
  std::size_t start = 0;
  for (int i = 0; i < form; ++i) {
    const std::size_t zero = answer.find(u'\0', start);
    if (zero == WideString::npos) break;
    start = zero + 1;
  }
  return answer.substr(start, answer.find(u'\0', start) - start);
}

void TGnuGettextInstance::textdomain(const AnsiString& domain) {
  CurrentDomain = domain;
  if (LibraryLoaded()) State().Library.Textdomain(domain.c_str());
}

AnsiString TGnuGettextInstance::getcurrenttextdomain() {
  if (LibraryLoaded()) {
    const char* d = State().Library.Textdomain(nullptr);
    return d ? d : "";
  }
  return CurrentDomain;
}

void TGnuGettextInstance::bindtextdomain(const AnsiString& domain, const AnsiString& folder) {
  const AnsiString dir = IncludeTrailingPathDelimiter(folder);
  FindOrCreateDomain(domain)->SetDirectory(dir);
  if (LibraryLoaded()) State().Library.Bindtextdomain(domain.c_str(), dir.c_str());
}

void TGnuGettextInstance::UseLanguage(const AnsiString& code) {
  CurrentLanguage = code.empty() ? LanguageFromEnvironment(platform::LangVariable(), platform::SystemLanguage())
                                 : code;
  if (LibraryLoaded() && State().Library.GettextPutenv)
    State().Library.GettextPutenv(("LANG=" + CurrentLanguage).c_str());
  {
    std::lock_guard<std::mutex> l(DomainsLock);
    for (auto& d : DomainStore) d->Domain->SetLanguage(CurrentLanguage);
  }
  PluralForm = PluralRuleFor(CurrentLanguage);
}

AnsiString TGnuGettextInstance::GetCurrentLanguage() { return CurrentLanguage; }

WideString TGnuGettextInstance::GetTranslationProperty(const AnsiString& name) {
  const std::string field = HeaderField(ToUtf8(gettext(WideString())), name);
  return FromUtf8(field).value_or(WideString());
}

WideString TGnuGettextInstance::GetTranslatorNameAndEmail() { return GetTranslationProperty("LAST-TRANSLATOR"); }

void TGnuGettextInstance::SaveUntranslatedMsgids(const AnsiString& fileName) {
  std::unique_lock<std::mutex> l(SaveLock);
  if (SavedMsgids) {
    l.unlock();  // the message goes through translation, which may save it
    throw Exception(WideToAnsi(gettext(u"You may not call SaveUntranslatedMsgids twice in this program.")));
  }
  std::FILE* f = std::fopen(fileName.c_str(), "wb");
  if (!f) throw EInOutError("Cannot create file " + fileName);
  const std::string header = PoHeader();
  if (std::fwrite(header.data(), 1, header.size(), f) != header.size() || std::fflush(f) != 0) {
    std::fclose(f);
    throw EInOutError("Cannot write file " + fileName);
  }
  UntranslatedFile = f;
  SavedMsgids.emplace();
}

void TGnuGettextInstance::SaveCheck(const WideString& text) {
  if (text.empty()) return;
  std::lock_guard<std::mutex> l(SaveLock);
  if (!SavedMsgids) return;
  // Written as the key the lookup uses, so a translation of it is found.
  const std::string key = RemoveCarriageReturns(ToUtf8(text));
  // A source cannot hold a text with a zero byte other than the one between
  // singular and plural, nor a plural with an empty singular.
  const std::size_t zero = key.find('\0');
  if (key.empty() || zero == 0 || (zero != std::string::npos && key.find('\0', zero + 1) != std::string::npos))
    return;
  if (!SavedMsgids->insert(key).second) return;
  const std::string entry = PoEntry(key);
  if (std::fwrite(entry.data(), 1, entry.size(), UntranslatedFile) != entry.size() ||
      std::fflush(UntranslatedFile) != 0)
    throw EInOutError("Cannot write the file of untranslated texts");
}

// ------------------------------------------------------------ property translation

void TGnuGettextInstance::TP_Ignore(TObject*, const AnsiString& name) { IgnoreList.insert(Upper(name)); }

namespace {
// The position of the first rule for an ancestor of cls (or the end), and
// whether a rule for cls itself exists.
template <class List>
typename List::iterator FirstAncestorRule(List& modes, TClass cls) {
  return std::find_if(modes.begin(), modes.end(),
                      [&](const auto& m) { return m->ModeClass != cls && cls->InheritsFrom(m->ModeClass); });
}
template <class List>
TClassMode* RuleFor(List& modes, TClass cls) {
  for (auto& m : modes)
    if (m->ModeClass == cls) return m.get();
  return nullptr;
}
}  // namespace

void TGnuGettextInstance::TP_GlobalIgnoreClass(TClass cls) {
  if (RuleFor(ClassModes, cls))
    throw Exception("You cannot add a class to the ignore list that is already on that list: " + AnsiString(cls->Name));
  auto mode = std::make_unique<TClassMode>();
  mode->ModeClass = cls;
  ClassModes.insert(FirstAncestorRule(ClassModes, cls), std::move(mode));
}

void TGnuGettextInstance::TP_GlobalIgnoreClassProperty(TClass cls, const AnsiString& propertyName) {
  const AnsiString name = Upper(propertyName);
  if (TClassMode* m = RuleFor(ClassModes, cls)) {
    if (m->Handler) throw Exception("You cannot ignore a class property for a class that has a handler set.");
    m->IgnoredProperties.insert(name);
    return;
  }
  auto mode = std::make_unique<TClassMode>();
  mode->ModeClass = cls;
  mode->IgnoredProperties.insert(name);
  ClassModes.insert(FirstAncestorRule(ClassModes, cls), std::move(mode));
}

void TGnuGettextInstance::TP_GlobalHandleClass(TClass cls, const TTranslator& handler) {
  if (RuleFor(ClassModes, cls))
    throw Exception("You cannot set a handler for a class that has already been assigned otherwise.");
  auto mode = std::make_unique<TClassMode>();
  mode->ModeClass = cls;
  mode->Handler = handler;
  ClassModes.insert(FirstAncestorRule(ClassModes, cls), std::move(mode));
}

TTP_Retranslator* TGnuGettextInstance::TP_CreateRetranslator() {
  auto* r = new TTP_Retranslator();
  r->OwnerInstance = this;
  ActiveRetranslator = r;
  return r;
}

void TGnuGettextInstance::TranslateProperties(TObject* obj, AnsiString domain) {
  if (domain.empty()) domain = CurrentDomain;
  if (ActiveRetranslator) ActiveRetranslator->DomainUsed = domain;
  // The ignore entries serve this walk only, also when it ends with an error.
  struct TEndOfWalk {
    TGnuGettextInstance* Self;
    ~TEndOfWalk() {
      Self->IgnoreList.clear();
      Self->ActiveRetranslator = nullptr;
    }
  } endOfWalk{this};

  std::deque<std::pair<AnsiString, TObject*>> work;
  std::set<const TObject*> visited;
  std::set<AnsiString> skipped;
  work.emplace_back(AnsiString(), obj);
  while (!work.empty()) {
    auto [name, o] = work.front();
    work.pop_front();
    if (!o || !visited.insert(o).second) continue;
    skipped.clear();
    const TClassMode* governing = nullptr;
    for (const auto& m : ClassModes) {
      if (!o->InheritsFrom(m->ModeClass)) continue;
      if (m->IgnoredProperties.empty()) {
        governing = m.get();
        break;
      }
      skipped.insert(m->IgnoredProperties.begin(), m->IgnoredProperties.end());
    }
    if (governing) {
      if (governing->Handler) governing->Handler(o);
      continue;
    }
    for (PPropInfo prop : GetPropList(o->ClassType())) {
      const AnsiString p = Upper(prop->Name);
      if (IgnoreList.count(name + "." + p) || skipped.count(p)) continue;
      TranslateProperty(o, prop, work, domain);
    }
    if (auto* list = dynamic_cast<TStrings*>(o)) TranslateStrings(list, domain);
    if (auto* component = dynamic_cast<TComponent*>(o)) {
      for (int i = 0; i < component->ComponentCount(); ++i) {
        TComponent* child = component->Components(i);
        const AnsiString childName = Upper(child->Name());
        if (!IgnoreList.count(childName)) work.emplace_back(childName, child);
      }
    }
  }
}

void TGnuGettextInstance::TranslateProperty(TObject* obj, PPropInfo prop,
                                            std::deque<std::pair<AnsiString, TObject*>>& work,
                                            const AnsiString& domain) {
  try {
    const TTypeKind kind = prop->PropType->Kind;
    if (kind == tkString || kind == tkLString || kind == tkWString || kind == tkUString) {
      const bool wide = kind == tkWString || kind == tkUString;
      const WideString value = wide ? GetWideStrProp(obj, prop) : AnsiToWide(GetStrProp(obj, prop));
      if (value.empty() || !prop->Writable()) return;
      if (ActiveRetranslator) ActiveRetranslator->Remember(obj, prop->Name, value);
      const WideString translated = dgettext(domain, value);
      if (translated == value) return;
      PPropInfo again = GetPropInfo(obj, prop->Name);
      if (!again) throw Exception("Property disappeared...");
      const TTypeKind k = again->PropType->Kind;
      if (k == tkWString || k == tkUString)
        SetWideStrProp(obj, again, translated);
      else
        SetStrProp(obj, again, WideToAnsi(translated));
    } else if (kind == tkClass) {
      TObject* value = GetObjectProp(obj, prop);
      if (!value) return;
      if (auto* list = dynamic_cast<TStrings*>(value)) {
        if (ActiveRetranslator) {
          const AnsiString text = list->Text();
          if (!text.empty()) ActiveRetranslator->Remember(list, "Text", AnsiToWide(text));
        }
        TranslateStrings(list, domain);
      } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
        for (int i = 0; i < collection->Count(); ++i) work.emplace_back(AnsiString(), collection->Items(i));
      }
      if (dynamic_cast<TComponent*>(value)) work.emplace_back(AnsiString(), value);
    }
  } catch (const Exception& e) {
    throw Exception("Property cannot be translated.\r\nUse TP_GlobalIgnoreClassProperty(" + obj->ClassName() + "," +
                    prop->Name + ") or\r\nTP_Ignore (self,'." + prop->Name + "') to prevent this message.\r\nReason: " +
                    e.Message);
  }
}

void TGnuGettextInstance::TranslateStrings(TStrings* list, const AnsiString& domain) {
  std::vector<std::pair<int, AnsiString>> changes;
  for (int i = 0; i < list->Count(); ++i) {
    const AnsiString line = list->Strings(i);
    if (line.empty()) continue;
    const AnsiString translated = WideToAnsi(dgettext(domain, AnsiToWide(line)));
    if (translated != line) changes.emplace_back(i, translated);
  }
  if (changes.empty()) return;
  // One change for the whole list; each line keeps its object.
  list->BeginUpdate();
  try {
    for (auto& [i, s] : changes) list->SetStrings(i, s);
  } catch (...) {
    list->EndUpdate();
    throw;
  }
  list->EndUpdate();
}

void TGnuGettextInstance::TranslateComponent(TComponent* component, const AnsiString& domain) {
  TComponent* found = component->FindComponent("GNUgettextMarker");
  TGnuGettextComponentMarker* marker = nullptr;
  if (found) {
    marker = dynamic_cast<TGnuGettextComponentMarker*>(found);
    if (!marker) throw EInvalidCast("Invalid class typecast");
    if (marker->TranslatedLanguage != CurrentLanguage) marker->MarkerRetranslator->Execute();
  } else {
    marker = Create<TGnuGettextComponentMarker>(nullptr);
    try {
      marker->SetName("GNUgettextMarker");
      marker->MarkerRetranslator = TP_CreateRetranslator();
      TranslateProperties(component, domain);
    } catch (...) {
      marker->Free();
      throw;
    }
    component->InsertComponent(marker);
  }
  marker->TranslatedLanguage = CurrentLanguage;
}

// ============================================================ global functions

namespace gnugettext {

TGnuGettextInstance* DefaultInstance() { return State().Instance; }
const AnsiString& ExecutableFilename() { return State().ExecutableFilename; }
const TAssemblyAnalyzer* AppendedCatalogues() { return State().Appended.get(); }

std::int64_t AppendedCataloguesPosition() {
  std::uint64_t v = 0;
  for (int i = 43; i >= 36; --i) v = v << 8 | GnuGettextAppendedMarker[i];
  return static_cast<std::int64_t>(v);
}

WideString LoadResString(PResStringRec rec) {
  if (!rec) return WideString();
  WideString text;
  if (auto fromTable = platform::LoadStringTableEntry(rec->Identifier))
    text = *fromTable;
  else
    text = AnsiToWide(rec->Text ? rec->Text : "");
  TUse use;
  TGnuGettextInstance* instance = use.Instance();
  if (!instance) return text;
  std::shared_lock<std::shared_mutex> l(State().ResourceStringDomainLock);
  WideString result = text;
  for (const AnsiString& domain : State().ResourceStringDomains) {
    result = instance->dgettext(domain, text);
    if (result != text) break;
  }
  return result;
}

WideString LoadResStringW(PResStringRec rec) { return gnugettext::LoadResString(rec); }
AnsiString LoadResStringA(PResStringRec rec) { return WideToAnsi(gnugettext::LoadResString(rec)); }

}  // namespace gnugettext

// Every global function: the instance's answer, or the text as given outside
// start-up and shut-down.
#define DK_WITH_INSTANCE(fallback, call) \
  TUse use;                              \
  TGnuGettextInstance* in = use.Instance(); \
  if (!in) return fallback;              \
  return in->call

WideString gettext(const WideString& text) { DK_WITH_INSTANCE(text, gettext(text)); }
WideString _(const WideString& text) { DK_WITH_INSTANCE(text, gettext(text)); }
WideString dgettext(const AnsiString& domain, const WideString& text) {
  DK_WITH_INSTANCE(text, dgettext(domain, text));
}
WideString ngettext(const WideString& singular, const WideString& plural, Integer count) {
  DK_WITH_INSTANCE(PluralRuleGermanic(count) == 0 ? singular : plural, ngettext(singular, plural, count));
}
WideString dngettext(const AnsiString& domain, const WideString& singular, const WideString& plural,
                     Integer count) {
  DK_WITH_INSTANCE(PluralRuleGermanic(count) == 0 ? singular : plural,
                   dngettext(AnsiToWide(domain), singular, plural, count));
}
void textdomain(const AnsiString& domain) { DK_WITH_INSTANCE(, textdomain(domain)); }
AnsiString getcurrenttextdomain() { DK_WITH_INSTANCE(AnsiString(), getcurrenttextdomain()); }
void bindtextdomain(const AnsiString& domain, const AnsiString& folder) {
  DK_WITH_INSTANCE(, bindtextdomain(domain, folder));
}
void UseLanguage(const AnsiString& code) { DK_WITH_INSTANCE(, UseLanguage(code)); }
AnsiString GetCurrentLanguage() { DK_WITH_INSTANCE(AnsiString(), GetCurrentLanguage()); }
WideString GetTranslatorNameAndEmail() { DK_WITH_INSTANCE(WideString(), GetTranslatorNameAndEmail()); }
void TP_Ignore(TObject* obj, const AnsiString& name) { DK_WITH_INSTANCE(, TP_Ignore(obj, name)); }
void TP_GlobalIgnoreClass(TClass cls) { DK_WITH_INSTANCE(, TP_GlobalIgnoreClass(cls)); }
void TP_GlobalIgnoreClassProperty(TClass cls, const AnsiString& propertyName) {
  DK_WITH_INSTANCE(, TP_GlobalIgnoreClassProperty(cls, propertyName));
}
void TP_GlobalHandleClass(TClass cls, const TTranslator& handler) {
  DK_WITH_INSTANCE(, TP_GlobalHandleClass(cls, handler));
}
void TranslateProperties(TObject* obj, const AnsiString& domain) {
  DK_WITH_INSTANCE(, TranslateProperties(obj, domain));
}
void TranslateComponent(TComponent* component, const AnsiString& domain) {
  DK_WITH_INSTANCE(, TranslateComponent(component, domain));
}
#undef DK_WITH_INSTANCE

void AddDomainForResourceString(const AnsiString& domain) {
  std::unique_lock<std::shared_mutex> l(State().ResourceStringDomainLock);
  State().ResourceStringDomains.push_back(domain);
}

bool LoadDLLifPossible(const AnsiString& fileName) {
  TUnitState& s = State();
  std::lock_guard<std::mutex> l(s.LibraryLock);
  if (s.LibraryLoaded) return true;
  if (!platform::LoadExternalGettext(fileName, s.Library)) return false;
  s.LibraryLoaded = true;
  return true;
}

// ============================================================ start-up and shut-down

namespace {
std::string LoaderThunk(PResStringRec rec) { return gnugettext::LoadResStringA(rec); }
}  // namespace

void InitializeGnuGettext() {
  TUnitState& s = State();
  {
    std::unique_lock<std::shared_mutex> l(s.Lock);
    if (s.Started) return;
    s.ExecutableFilename = platform::ExecutableFileName();
    s.Appended = std::make_unique<TAssemblyAnalyzer>();
    s.Appended->Analyze(s.ExecutableFilename, gnugettext::AppendedCataloguesPosition());
    {
      std::unique_lock<std::shared_mutex> d(s.ResourceStringDomainLock);
      s.ResourceStringDomains.insert(s.ResourceStringDomains.begin(), "default");
    }
    s.Instance = new TGnuGettextInstance();
    s.Started = true;
  }
  s.PreviousLoader = SetResStringLoader(&LoaderThunk);
}

void FinalizeGnuGettext() {
  TUnitState& s = State();
  if (!s.Started) return;
  // Loads from here on go past the redirection; then wait for the running
  // ones before anything is freed.
  SetResStringLoader(s.PreviousLoader);
  std::unique_lock<std::shared_mutex> l(s.Lock);
  delete s.Instance;
  s.Instance = nullptr;
  {
    std::unique_lock<std::shared_mutex> d(s.ResourceStringDomainLock);
    s.ResourceStringDomains.clear();
  }
  {
    std::lock_guard<std::mutex> lib(s.LibraryLock);
    s.LibraryLoaded = false;
    platform::FreeExternalGettext(s.Library);
  }
  s.Appended.reset();
  s.ExecutableFilename.clear();
  s.Started = false;
}
