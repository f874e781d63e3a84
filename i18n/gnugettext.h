// Translation runtime (unit gnugettext): message catalogues in the GNU gettext
// machine-object format, the language in use, plural forms, translation of
// resource strings and of the published text properties of components.
//
// The program calls InitializeGnuGettext() first thing in its entry function
// and FinalizeGnuGettext() last. Before and after, every global function here
// returns its text unchanged. With no catalogue present every text stays
// exactly as written.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/ResString.h"
#include "classlib/core/TypInfo.h"
#include "i18n/AppendedCatalogues.h"
#include "i18n/GettextText.h"
#include "i18n/MoCatalogue.h"

namespace i18n::platform {
class TMappedFile;
}

// ------------------------------------------------------------ one text domain
// The catalogue of one domain for the folder and language in use, searched for
// at the first lookup after either changed and then held mapped read-only.
class TDomain : public TObject {
  DK_CLASS(TDomain, TObject)
 public:
  TDomain();
  ~TDomain() override;

  AnsiString Directory;   // ends with a path delimiter
  AnsiString DomainName;
  AnsiString Language;

  void SetDirectory(const AnsiString& dir);
  void SetLanguage(const AnsiString& lang);
  // The translation of the UTF-8 key, nothing when there is no catalogue or no
  // entry. A damaged catalogue file counts as absent until the folder or
  // language changes. Raises the errors of opening and mapping a catalogue
  // file ("Cannot open file ...").
  std::optional<std::string> LookupMsgid(std::string_view msgid);
  // The same without a copy: use(translation) runs while the catalogue is
  // held; false when there is no translation.
  template <class F>
  bool WithTranslation(std::string_view msgid, F&& use);
  // The same with the translation decoded to 16 bits, a carriage return before
  // every line feed: use(text) gets nullptr when the translation is not UTF-8.
  // Each entry is decoded once and kept until the catalogue is released.
  template <class F>
  bool WithWideTranslation(std::string_view msgid, F&& use);

  bool IsOpen() const;
  bool Swapped() const;

 private:
  void MapCatalogue();
  void UnmapCatalogue();
  // use(entry) while the catalogue is held; false when no entry has msgid.
  template <class F>
  bool WithEntry(std::string_view msgid, F&& use);
  // The 16-bit form of entry i's translation (nullptr: not UTF-8), decoded
  // at its first use. Called under the shared lock: threads that decode the
  // same entry at once keep the first result.
  const std::u16string* Decoded(std::uint32_t i);
  void DropDecoded();

  mutable std::shared_mutex Lock;
  bool FIsOpen = false;
  bool MustSearch = true;
  std::int64_t CatalogueOffset = 0;
  std::unique_ptr<i18n::platform::TMappedFile> File;
  i18n::TMoCatalogue Catalogue;
  // One slot per entry of the open catalogue.
  std::unique_ptr<std::atomic<const std::u16string*>[]> DecodedEntries;
};

template <class F>
bool TDomain::WithEntry(std::string_view msgid, F&& use) {
  for (int pass = 0; pass < 2; ++pass) {
    {
      std::shared_lock<std::shared_mutex> l(Lock);
      if (FIsOpen) {
        const std::optional<std::uint32_t> found = Catalogue.Find(msgid);
        if (!found) return false;
        use(*found);
        return true;
      }
      if (!MustSearch || pass == 1) return false;
    }
    MapCatalogue();
  }
  return false;
}

template <class F>
bool TDomain::WithTranslation(std::string_view msgid, F&& use) {
  return WithEntry(msgid, [&](std::uint32_t i) { use(Catalogue.Translation(i)); });
}

template <class F>
bool TDomain::WithWideTranslation(std::string_view msgid, F&& use) {
  return WithEntry(msgid, [&](std::uint32_t i) { use(Decoded(i)); });
}

// ------------------------------------------------------------ property translation
using TTranslator = TClosure<void(TObject* obj)>;

class TClassMode : public TObject {
  DK_CLASS(TClassMode, TObject)
 public:
  TClass ModeClass = nullptr;
  TTranslator Handler;
  std::set<AnsiString> IgnoredProperties;  // upper case
};

class TExecutable : public TObject {
  DK_CLASS(TExecutable, TObject)
 public:
  virtual void Execute();
};

class TGnuGettextInstance;

class TTP_RetranslatorItem : public TObject {
  DK_CLASS(TTP_RetranslatorItem, TObject)
 public:
  TObject* TargetObject = nullptr;
  AnsiString PropertyName;
  WideString UntranslatedValue;
};

class TTP_Retranslator : public TExecutable {
  DK_CLASS(TTP_Retranslator, TExecutable)
 public:
  AnsiString DomainUsed;
  TGnuGettextInstance* OwnerInstance = nullptr;
  std::vector<std::unique_ptr<TTP_RetranslatorItem>> Entries;

  void Remember(TObject* obj, const AnsiString& propertyName, const WideString& value);
  void Execute() override;
};

class TGnuGettextComponentMarker : public TComponent {
  DK_CLASS(TGnuGettextComponentMarker, TComponent)
 public:
  explicit TGnuGettextComponentMarker(TComponent* AOwner);
  ~TGnuGettextComponentMarker() override;
  AnsiString TranslatedLanguage;
  TExecutable* MarkerRetranslator = nullptr;  // owned
};

// ------------------------------------------------------------ the instance
class TGnuGettextInstance : public TObject {
  DK_CLASS(TGnuGettextInstance, TObject)
 public:
  TGnuGettextInstance();
  ~TGnuGettextInstance() override;

  bool TranslationEnabled = true;

  WideString gettext(const WideString& text);
  WideString dgettext(const AnsiString& domain, const WideString& text);
  WideString ngettext(const WideString& singular, const WideString& plural, Integer count);
  WideString dngettext(const WideString& domain, const WideString& singular, const WideString& plural,
                       Integer count);
  void textdomain(const AnsiString& domain);
  AnsiString getcurrenttextdomain();
  void bindtextdomain(const AnsiString& domain, const AnsiString& folder);
  void UseLanguage(const AnsiString& code);
  AnsiString GetCurrentLanguage();
  WideString GetTranslationProperty(const AnsiString& name);
  WideString GetTranslatorNameAndEmail();
  void SaveUntranslatedMsgids(const AnsiString& fileName);
  void SaveCheck(const WideString& text);

  void TP_Ignore(TObject* obj, const AnsiString& name);
  void TP_GlobalIgnoreClass(TClass cls);
  void TP_GlobalIgnoreClassProperty(TClass cls, const AnsiString& propertyName);
  void TP_GlobalHandleClass(TClass cls, const TTranslator& handler);
  void TranslateProperties(TObject* obj, AnsiString domain = "");
  void TranslateComponent(TComponent* component, const AnsiString& domain = "");
  void TranslateStrings(TStrings* list, const AnsiString& domain);
  TTP_Retranslator* TP_CreateRetranslator();

  // The domain of a name, made on first use (thread-safe).
  TDomain* FindOrCreateDomain(const AnsiString& name);
  const AnsiString& DefaultDomainDirectory() const { return FDefaultDomainDirectory; }

 private:
  // The translation of text, nothing when no catalogue has one.
  std::optional<WideString> Lookup(const AnsiString& domain, const WideString& text);
  void TranslateProperty(TObject* obj, PPropInfo prop, std::deque<std::pair<AnsiString, TObject*>>& work,
                         const AnsiString& domain);

  AnsiString CurrentLanguage;
  i18n::TPluralRule PluralForm = i18n::PluralRuleGermanic;
  AnsiString CurrentDomain = "default";
  AnsiString FDefaultDomainDirectory;

  std::mutex SaveLock;
  std::FILE* UntranslatedFile = nullptr;
  std::optional<std::set<std::string>> SavedMsgids;  // present: saving is on

  // The domains, never removed while the instance lives: every lookup walks
  // the chain without a lock; additions are made under DomainsLock and
  // published at the head.
  struct TDomainEntry {
    AnsiString Key;  // upper case
    std::unique_ptr<TDomain> Domain;
    const TDomainEntry* Next = nullptr;
  };
  std::mutex DomainsLock;
  std::vector<std::unique_ptr<TDomainEntry>> DomainStore;
  std::atomic<const TDomainEntry*> Domains{nullptr};
  TDomain* FindDomain(const AnsiString& name) const;

  std::set<AnsiString> IgnoreList;
  std::vector<std::unique_ptr<TClassMode>> ClassModes;
  TTP_Retranslator* ActiveRetranslator = nullptr;
};

// ------------------------------------------------------------ global functions
// Each forwards to the process's instance; outside start-up and shut-down the
// texts come back unchanged and the rest does nothing.
WideString gettext(const WideString& text);
WideString _(const WideString& text);
WideString dgettext(const AnsiString& domain, const WideString& text);
WideString ngettext(const WideString& singular, const WideString& plural, Integer count);
WideString dngettext(const AnsiString& domain, const WideString& singular, const WideString& plural,
                     Integer count);
void textdomain(const AnsiString& domain);
AnsiString getcurrenttextdomain();
void bindtextdomain(const AnsiString& domain, const AnsiString& folder);
void UseLanguage(const AnsiString& code);
AnsiString GetCurrentLanguage();
WideString GetTranslatorNameAndEmail();
void TP_Ignore(TObject* obj, const AnsiString& name);
void TP_GlobalIgnoreClass(TClass cls);
void TP_GlobalIgnoreClassProperty(TClass cls, const AnsiString& propertyName);
void TP_GlobalHandleClass(TClass cls, const TTranslator& handler);
void TranslateProperties(TObject* obj, const AnsiString& domain = "");
void TranslateComponent(TComponent* component, const AnsiString& domain = "");
void AddDomainForResourceString(const AnsiString& domain);
bool LoadDLLifPossible(const AnsiString& fileName);

namespace gnugettext {
// The redirected resource-string loaders: the record's text (the program's
// string table where the record names an entry) through the resource-string
// domains in order; the first answer that differs from the text wins.
WideString LoadResString(PResStringRec rec);
WideString LoadResStringW(PResStringRec rec);
AnsiString LoadResStringA(PResStringRec rec);

// The process's instance (nullptr outside start-up and shut-down) and the
// program file's name and appended-catalogue index.
TGnuGettextInstance* DefaultInstance();
const AnsiString& ExecutableFilename();
const i18n::TAssemblyAnalyzer* AppendedCatalogues();
// The file position written behind the marker in the program file.
std::int64_t AppendedCataloguesPosition();
}  // namespace gnugettext

// Start-up and shut-down of the unit.
void InitializeGnuGettext();
void FinalizeGnuGettext();
