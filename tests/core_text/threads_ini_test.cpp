// Threads, synchronisation with the main thread, sync objects and INI text.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/IniFiles.h"
#include "classlib/core/SyncObjs.h"
#include "support.h"

namespace {

// Runs a function as its Execute.
class FnThread : public TThread {
  DK_CLASS(FnThread, TThread)
 public:
  FnThread(bool suspended, std::function<void(FnThread*)> fn) : TThread(suspended), fn_(std::move(fn)) {}
  void SetResult(Integer v) { SetReturnValue(v); }

 protected:
  void Execute() override { fn_(this); }

 private:
  std::function<void(FnThread*)> fn_;
};

// Serves synchronised calls until the thread ends.
void ServeUntilFinished(TThread* t) {
  while (!t->Finished()) CheckSynchronize(10);
}

}  // namespace

TEST(Threads, SynchronizeRunsOnTheMainThread) {
  Watchdog dog(20, "Synchronize");
  std::thread::id ranOn, worker;
  std::unique_ptr<FnThread> t(Create<FnThread>(false, [&](FnThread* self) {
    worker = std::this_thread::get_id();
    self->Synchronize([&] { ranOn = std::this_thread::get_id(); });
    self->SetResult(7);
  }));
  ServeUntilFinished(t.get());
  EXPECT_EQ(t->WaitFor(), 7u);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_NE(worker, ranOn);
  // On the main thread Synchronize runs at once.
  bool ranInline = false;
  TThread::Synchronize(nullptr, [&] { ranInline = true; });
  EXPECT_TRUE(ranInline);
  EXPECT_FALSE(CheckSynchronize(0)) << "nothing is waiting";
}

TEST(Threads, ExceptionInsideSynchronizeIsRaisedInTheWorker) {
  Watchdog dog(20, "Synchronize with an exception");
  AnsiString caught;
  std::unique_ptr<FnThread> t(Create<FnThread>(false, [&](FnThread* self) {
    try {
      self->Synchronize([] { StrToInt("bad"); });
    } catch (const EConvertError& e) {
      caught = e.Message;
    }
  }));
  ServeUntilFinished(t.get());
  t->WaitFor();
  EXPECT_EQ(caught, "'bad' is not a valid integer value");
  EXPECT_EQ(t->FatalException(), nullptr);
}

TEST(Threads, WaitForOnTheMainThreadServesSynchronisedCalls) {
  Watchdog dog(20, "WaitFor serving Synchronize");
  int calls = 0;
  std::unique_ptr<FnThread> t(Create<FnThread>(false, [&](FnThread* self) {
    for (int i = 0; i < 5; ++i) self->Synchronize([&] { ++calls; });
  }));
  t->WaitFor();  // would deadlock if it did not serve the calls
  EXPECT_EQ(calls, 5);
}

namespace {
class Terminator : public TObject {
  DK_CLASS(Terminator, TObject)
 public:
  std::thread::id ranOn;
  void Done(TObject*) { ranOn = std::this_thread::get_id(); }
};
}  // namespace

TEST(Threads, SuspendedStartTerminateFatalExceptionOnTerminate) {
  Watchdog dog(20, "thread life cycle");
  TSimpleEvent running;
  std::unique_ptr<FnThread> t(Create<FnThread>(true, [&](FnThread* self) {
    running.SetEvent();
    while (!self->Terminated()) Sleep(1);
    throw EThread("stopped");
  }));
  Terminator term;
  t->OnTerminate = TNotifyEvent(&term, &Terminator::Done);
  EXPECT_TRUE(t->Suspended());
  t->Start();
  EXPECT_EQ(running.WaitFor(10000), wrSignaled);
  t->Terminate();
  t->WaitFor();
  ASSERT_NE(t->FatalException(), nullptr);
  EXPECT_EQ(t->FatalException()->Message, "stopped");
  EXPECT_EQ(term.ranOn, std::this_thread::get_id()) << "OnTerminate runs on the main thread";

  // A suspended thread that never started is simply freed.
  delete Create<FnThread>(true, [](FnThread*) {});
}

namespace {
std::atomic<int> g_destroyed{0};

class SelfFreeing : public TThread {
  DK_CLASS(SelfFreeing, TThread)
 public:
  explicit SelfFreeing(TEvent* e) : TThread(true), e_(e) { SetFreeOnTerminate(true); }
  ~SelfFreeing() override { ++g_destroyed; }

 protected:
  void Execute() override { e_->WaitFor(); }

 private:
  TEvent* e_;
};
}  // namespace

TEST(Threads, FreeOnTerminate) {
  Watchdog dog(20, "FreeOnTerminate");
  TEvent release(true, false);
  auto* t = Create<SelfFreeing>(&release);
  t->Start();
  release.SetEvent();
  for (int i = 0; i < 2000 && g_destroyed == 0; ++i) Sleep(5);
  EXPECT_EQ(g_destroyed, 1);
}

TEST(SyncObjects, EventsAndLocks) {
  TEvent manual(true, false);
  EXPECT_EQ(manual.WaitFor(10), wrTimeout);
  manual.SetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled) << "a manual event stays set";
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);
  TEvent automatic(false, true);
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout) << "an automatic event resets after one wait";
  TSimpleEvent simple;
  EXPECT_EQ(simple.WaitFor(0), wrTimeout);

  TCriticalSection cs;
  cs.Enter();
  cs.Enter();  // re-entrant
  cs.Leave();
  cs.Leave();

  Watchdog dog(20, "multi-reader lock");
  TMultiReadExclusiveWriteSynchronizer lock;
  std::atomic<int> readers{0}, overlaps{0};
  std::atomic<bool> writing{false};
  std::vector<std::thread> pool;
  for (int t = 0; t < 4; ++t)
    pool.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        if ((i + t) % 10 == 0) {
          lock.BeginWrite();
          writing = true;
          if (readers != 0) ++overlaps;
          lock.BeginRead();  // a writer may read
          lock.EndRead();
          writing = false;
          lock.EndWrite();
        } else {
          lock.BeginRead();
          ++readers;
          if (writing) ++overlaps;
          lock.BeginRead();  // re-entrant
          lock.EndRead();
          --readers;
          lock.EndRead();
        }
      }
    });
  for (auto& th : pool) th.join();
  EXPECT_EQ(overlaps, 0);
  lock.BeginRead();
  EXPECT_TRUE(lock.BeginWrite()) << "the only reader may become the writer";
  lock.EndWrite();
  lock.EndRead();
}

// ----------------------------------------------------------------------- INI

namespace {
std::unique_ptr<TMemIniFile> IniFromText(const AnsiString& text) {
  auto ini = std::make_unique<TMemIniFile>("");
  TStringList l;
  l.SetText(text);
  ini->SetStrings(&l);
  return ini;
}
}  // namespace

TEST(Ini, ParsingRules) {
  auto ini = IniFromText(
      "orphan=1\r\n"
      "; comment\n"
      "[Settings]\r"
      "  ChannelLabel0 = Вес 1 \n"_cp
      "ChannelLabel0=second\n"
      "Period=$1F\n"
      "Hex=0x10\n"
      "Bad=12a\n"
      "Flag2=2\n"
      "FlagText=true\n"
      "Empty=\n"
      "novalue\n"
      "\n"
      "[ADC]\n"
      "Comma=12,5\n"
      "Dot=12.5\n"
      "[settings]\n"
      "Other=1\n");
  EXPECT_EQ(ini->ReadString("Settings", "ChannelLabel0", "-"), "Вес 1"_cp) << "trimmed, first wins";
  EXPECT_EQ(ini->ReadString("SETTINGS", "channellabel0", "-"), "Вес 1"_cp) << "names ignore case";
  EXPECT_EQ(ini->ReadString("Settings", "orphan", "-"), "-") << "lines before a section are dropped";
  EXPECT_EQ(ini->ReadInteger("Settings", "Period", 0), 31);
  EXPECT_EQ(ini->ReadInteger("Settings", "Hex", 0), 16);
  EXPECT_EQ(ini->ReadInteger("Settings", "Bad", -1), -1);
  EXPECT_TRUE(ini->ReadBool("Settings", "Flag2", false)) << "any non-zero number is true";
  EXPECT_FALSE(ini->ReadBool("Settings", "FlagText", false)) << "text gives the default";
  EXPECT_TRUE(ini->ReadBool("Settings", "FlagText", true));
  EXPECT_EQ(ini->ReadString("Settings", "Empty", "-"), "");
  EXPECT_TRUE(ini->ValueExists("Settings", "Empty"));
  EXPECT_FALSE(ini->ValueExists("Settings", "Missing"));
  EXPECT_TRUE(ini->SectionExists("ADC"));
  EXPECT_FALSE(ini->SectionExists("None"));
  EXPECT_EQ(ini->ReadString("settings", "Other", "-"), "-") << "the first of duplicate sections wins";

  TFormatSettings saved = FormatSettings;
  FormatSettings = RussianSettings();
  EXPECT_DOUBLE_EQ(ini->ReadFloat("ADC", "Comma", -1), 12.5);
  EXPECT_DOUBLE_EQ(ini->ReadFloat("ADC", "Dot", -1), -1) << "a bad value gives the default";
  ini->WriteFloat("ADC", "W", 0.25);
  EXPECT_EQ(ini->ReadString("ADC", "W", ""), "0,25");
  FormatSettings = DotSettings();
  EXPECT_DOUBLE_EQ(ini->ReadFloat("ADC", "Comma", -1), -1);
  EXPECT_DOUBLE_EQ(ini->ReadFloat("ADC", "Dot", -1), 12.5);
  FormatSettings = saved;

  TStringList keys;
  ini->ReadSection("ADC", &keys);
  EXPECT_EQ(keys.CommaText(), "Comma,Dot,W");
  ini->ReadSections(&keys);
  EXPECT_EQ(keys.CommaText(), "Settings,ADC,settings");
  ini->ReadSectionValues("ADC", &keys);
  EXPECT_EQ(keys[0], "Comma=12,5");
}

TEST(Ini, CaseSensitiveNames) {
  auto ini = IniFromText("[Form]\nColor=1\n[FORM]\ncolor=2\n");
  ini->SetCaseSensitive(true);
  EXPECT_EQ(ini->ReadInteger("Form", "Color", 0), 1);
  EXPECT_EQ(ini->ReadInteger("FORM", "color", 0), 2);
  EXPECT_EQ(ini->ReadInteger("FORM", "Color", 0), 0);
  EXPECT_EQ(ini->ReadInteger("form", "Color", 0), 0);
}

TEST(Ini, WriteEraseAndUpdateFile) {
  TempDir tmp;
  const AnsiString name = tmp.Path() + "monitor.INI";
  {
    TMemIniFile ini(name);
    ini.WriteString("Settings", "ChannelLabel0", "ХБВ5 1"_cp);
    ini.WriteInteger("ADC", "Period", 500);
    ini.WriteBool("Settings", "AutoLog", true);
    ini.WriteBool("Settings", "Other", false);
    ini.WriteString("Settings", "ChannelLabel0", "ХБВ5 2"_cp);
    ini.WriteString("Gone", "x", "1");
    ini.EraseSection("Gone");
    ini.DeleteKey("Settings", "Other");
    ini.UpdateFile();
  }
  TStringList text;
  text.LoadFromFile(name);
  EXPECT_EQ(text.Text(), "[Settings]\r\nChannelLabel0=ХБВ5 2\r\nAutoLog=1\r\n\r\n[ADC]\r\nPeriod=500\r\n\r\n"_cp);
  TMemIniFile again(name);
  EXPECT_EQ(again.ReadInteger("ADC", "Period", 0), 500);
  EXPECT_TRUE(again.ReadBool("Settings", "AutoLog", false));
  TMemIniFile bad(tmp.Path() + "missing" + PathDelim + "x.ini");
  bad.WriteString("a", "b", "c");
  EXPECT_THROW(bad.UpdateFile(), EFCreateError) << "a failed write is reported";
}
