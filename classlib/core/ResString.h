// Resource strings: every fixed text of the libraries is fetched through
// LoadResString, so that a translation layer can redirect all of them at once.
//
//   DK_RESOURCESTRING(SListIndexError, "List index out of bounds (%d)");
//   ... throw EListError(LoadResString(&SListIndexError), {Index});
//
// The text is cp1251 (use the _cp literal for Cyrillic text). A redirection hook
// receives the record and returns the text to use; with no hook the record's
// own text comes back unchanged.
#pragma once

#include <cstdint>
#include <string>

struct TResStringRec {
  const char* Text;        // default text (code page 1251)
  std::int32_t Identifier; // string-table number where one exists, else 0
};
using PResStringRec = const TResStringRec*;

// Returns the text for the record. Called from any thread; it must be safe to
// call concurrently.
using TResStringLoader = std::string (*)(PResStringRec rec);

std::string LoadResString(PResStringRec rec);
std::u16string LoadResStringW(PResStringRec rec);

// Installs a redirection (nullptr removes it) and returns the previous one.
// Installing and removing are atomic; a load running at the same time uses
// either the old or the new loader.
TResStringLoader SetResStringLoader(TResStringLoader loader);
TResStringLoader GetResStringLoader();

#define DK_RESOURCESTRING(name, text) inline const TResStringRec name = {text, 0}
