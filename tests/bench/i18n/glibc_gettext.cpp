// The C library's side, apart from the unit's declarations of the same names.
#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <string>

void GlibcPrepare(const std::string& folder) {
  // The C.UTF-8 locale exists everywhere; LANGUAGE then picks the catalogue.
  setenv("LANGUAGE", "ru", 1);
  setlocale(LC_ALL, "C.UTF-8");
  bindtextdomain("bench", folder.c_str());
  bind_textdomain_codeset("bench", "UTF-8");
}

const char* GlibcLookup(const char* msgid) { return dgettext("bench", msgid); }
