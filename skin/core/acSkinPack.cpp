// Packed skin files.
#include "skin/core/acSkinPack.h"

#include <cstring>
#include <set>

#include "skin/graphics/acZLibEx.h"

namespace {

const char kMagic[4] = {'A', 'S', 'z', 'f'};
const char* const kOptionsName = "OPTIONS.DAT";
const char* const kNotPacked = "Loaded data is not a packed skin file";

// The largest output a deflate stream of N bytes can give is about 1032 N.
const Int64 kMaxRatio = 1032;
// The smallest entry: a name length, a one-letter name, a size and the
// 8 bytes of an empty zlib stream.
const Int64 kMinEntry = 4 + 1 + 4 + 8;
const Integer kMaxNameLength = 255;
// The most memory an entry takes before its data has come.
const Int64 kMaxUpFront = 4 << 20;

[[noreturn]] void Damaged(const AnsiString& what) { throw Exception("Packed skin data is damaged: " + what); }

Integer ReadInt32(TStream* s) {
  Byte b[4];
  s->ReadBuffer(b, 4);
  return static_cast<Integer>(Cardinal(b[0]) | (Cardinal(b[1]) << 8) | (Cardinal(b[2]) << 16) | (Cardinal(b[3]) << 24));
}

void WriteInt32(TStream* s, Integer v) {
  Byte b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<Byte>(Cardinal(v) >> (8 * i));
  s->WriteBuffer(b, 4);
}

// A stored name must be a plain file name: no folders, drives or parent
// references, nothing the file system would read as a device or trim.
void CheckName(const AnsiString& name) {
  bool bad = name.empty() || name.find_first_of("\\/:") != AnsiString::npos || name.find("..") != AnsiString::npos ||
             name.back() == '.' || name.back() == ' ';
  for (char c : name)
    if (static_cast<Byte>(c) < 0x20) bad = true;
  if (!bad) {
    AnsiString base = UpperCase(name.substr(0, name.find('.')));
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* d : devices)
      if (base == d) bad = true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
        base[3] <= '9')
      bad = true;
  }
  if (bad) Damaged("invalid entry name \"" + name + "\"");
}

struct Entry {
  AnsiString Name;
  std::unique_ptr<TMemoryStream> Data;
};

// Reads and checks every entry after the magic.
std::vector<Entry> ReadEntries(TStream* src) {
  const Int64 size = src->Size();
  auto left = [&] { return size - src->Position(); };
  if (left() < 4) Damaged("no entry count");
  Integer n = ReadInt32(src);
  if (n < 0 || Int64(n) > left() / kMinEntry) Damaged("entry count " + IntToStr(n));
  std::vector<Entry> entries;
  std::set<AnsiString> names;
  for (Integer i = 0; i < n; ++i) {
    if (left() < 8) Damaged("entry " + IntToStr(i + 1) + " is cut off");
    Integer length = ReadInt32(src);
    if (length < 1 || length > kMaxNameLength || length > left() - 4) Damaged("name length " + IntToStr(length));
    AnsiString name(static_cast<size_t>(length), '\0');
    src->ReadBuffer(name.data(), length);
    CheckName(name);
    if (!names.insert(AnsiUpperCase(name)).second) Damaged("duplicate entry \"" + name + "\"");
    Integer fileSize = ReadInt32(src);
    if (fileSize < 0 || Int64(fileSize) > left() * kMaxRatio) Damaged("size of \"" + name + "\"");

    Entry e;
    e.Name = name;
    e.Data = std::make_unique<TMemoryStream>();
    TZDecompressionStream z(src);
    // Inflated in place into memory sized from the entry's header, up to a
    // limit, then doubled as the data comes: a false size in a damaged file
    // allocates little.
    Int64 capacity = fileSize < kMaxUpFront ? fileSize : kMaxUpFront;
    e.Data->SetSize(capacity);
    Int64 done = 0;
    while (done < fileSize) {
      if (done == capacity) {
        capacity = capacity * 2 < fileSize ? capacity * 2 : fileSize;
        e.Data->SetSize(capacity);
      }
      Integer got = z.Read(static_cast<Byte*>(e.Data->Memory()) + done, static_cast<Integer>(capacity - done));
      if (got <= 0) Damaged("\"" + name + "\" ends early");
      done += got;
    }
    // Inflate on to the end of the zlib stream, so its trailer is checked and
    // the input read past it goes back to the container.
    Byte extra;
    if (z.Read(&extra, 1) != 0) Damaged("\"" + name + "\" is longer than its size");
    if (!z.StreamEnded()) Damaged("\"" + name + "\" ends early");
    entries.push_back(std::move(e));
  }
  return entries;
}

bool HasMagic(TStream* s) {
  char magic[4];
  return s->Read(magic, 4) == 4 && std::memcmp(magic, kMagic, 4) == 0;
}

}  // namespace

void TacSkinConvertor::Clear() {
  while (!ImageItems.empty()) ImageItems.pop_back();
  delete Options;
  Options = nullptr;
  delete PackStream;
  PackStream = nullptr;
}

void PackDir(const AnsiString& srcPath, const AnsiString& fileName) {
  std::vector<AnsiString> files;
  for (const char* mask : {"*.dat", "*.bmp", "*.png", "*.jpg"}) {
    TSearchRec rec;
    if (FindFirst(srcPath + mask, faAnyFile, rec) == 0) {
      do {
        if (!rec.Name.empty() && rec.Name[0] != '.' && (rec.Attr & faDirectory) == 0) files.push_back(rec.Name);
      } while (FindNext(rec) == 0);
      FindClose(rec);
    }
  }
  if (files.empty()) return;
  const AnsiString dir = IncludeTrailingPathDelimiter(srcPath);
  // The container is made in memory and written at once, so a failure
  // leaves no half-written file.
  TMemoryStream pack;
  pack.WriteBuffer(kMagic, 4);
  WriteInt32(&pack, static_cast<Integer>(files.size()));
  for (const AnsiString& name : files) {
    TFileStream file(dir + name, fmOpenRead | fmShareDenyWrite);
    Int64 size = file.Size();
    if (size > 0x7FFFFFFF) throw Exception("File is too large to pack: " + name);
    WriteInt32(&pack, static_cast<Integer>(name.size()));
    pack.WriteBuffer(name.data(), static_cast<Integer>(name.size()));
    WriteInt32(&pack, static_cast<Integer>(size));
    TMemoryStream packed;
    {
      TZCompressionStream z(&packed, zcDefault);
      if (size > 0) z.CopyFrom(&file, 0);
      z.Finish();
    }
    packed.SaveToStream(&pack);
  }
  pack.SaveToFile(fileName);
}

void UnpackSkinFile(const AnsiString& srcName, const AnsiString& destDir) {
  const AnsiString dir = IncludeTrailingPathDelimiter(destDir);
  if (!DirectoryExists(dir)) ForceDirectories(dir);
  TFileStream src(srcName, fmOpenRead | fmShareDenyWrite);
  if (!HasMagic(&src)) throw Exception(srcName + " is not packed skin file");
  std::vector<Entry> entries = ReadEntries(&src);
  for (Entry& e : entries) {
    const AnsiString target = dir + e.Name;
    if (FileExists(target)) DeleteFile(target);
    e.Data->SaveToFile(target);
  }
}

void LoadSkinFromFile(const AnsiString& fileName, TacSkinConvertor*& convertor, bool release) {
  if (!FileExists(fileName)) return;
  if (convertor)
    convertor->Clear();
  else
    convertor = new TacSkinConvertor();
  convertor->PackStream = new TMemoryStream();
  convertor->PackStream->LoadFromFile(fileName);
  ExtractPackedData(convertor);
  if (release) {
    delete convertor->PackStream;
    convertor->PackStream = nullptr;
  }
}

void ExtractPackedData(TacSkinConvertor*& convertor) {
  TMemoryStream* pack = convertor->PackStream;
  if (!pack) throw Exception(kNotPacked);
  pack->SetPosition(0);
  if (!HasMagic(pack)) {
    convertor->Clear();
    delete convertor;
    convertor = nullptr;
    throw Exception(kNotPacked);
  }
  // Checked whole before the convertor changes.
  std::vector<Entry> entries = ReadEntries(pack);
  convertor->ImageItems.clear();
  delete convertor->Options;
  convertor->Options = nullptr;
  convertor->ItemCount = static_cast<Integer>(entries.size()) - 1;
  for (Entry& e : entries) {
    e.Data->SetPosition(0);
    if (AnsiUpperCase(e.Name) == kOptionsName) {
      convertor->Options = e.Data.release();
    } else {
      TacImageItem item;
      item.FileName = e.Name;
      item.IsBitmap = UpperCase(ExtractFileExt(e.Name)) == ".BMP";
      item.Data = std::move(e.Data);
      convertor->ImageItems.push_back(std::move(item));
    }
  }
}
