// The packet framer's framing, fed through AddData and RxBuf (no port needed).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/core/TypInfo.h"
#include "serial/CPortPacket.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

// Runs Fn on a thread with a small stack (256 KB), so that framing which
// grew the stack with every packet would overflow it.
void RunOnSmallStack(const std::function<void()>& Fn) {
  const std::size_t stack = 256 * 1024;
#ifdef _WIN32
  struct Entry {
    static DWORD WINAPI Run(LPVOID p) {
      (*static_cast<const std::function<void()>*>(p))();
      return 0;
    }
  };
  HANDLE h = CreateThread(nullptr, stack, &Entry::Run, const_cast<std::function<void()>*>(&Fn),
                          STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(h, nullptr);
  WaitForSingleObject(h, INFINITE);
  CloseHandle(h);
#else
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, stack);
  pthread_t t;
  ASSERT_EQ(pthread_create(
                &t, &attr,
                [](void* p) -> void* {
                  (*static_cast<const std::function<void()>*>(p))();
                  return nullptr;
                },
                const_cast<std::function<void()>*>(&Fn)),
            0);
  pthread_join(t, nullptr);
  pthread_attr_destroy(&attr);
#endif
}

// Records what the framer hands on: "P:<packet>" and "D:<discarded>".
class Recorder : public TObject {
  DK_CLASS(Recorder, TObject)
 public:
  std::vector<std::string> Events;
  int ThrowOnPacket = 0;     // the n-th packet (1-based) raises
  int CustomStartPos = -1;   // what OnCustomStart answers
  int CustomStopPos = -1;
  std::vector<std::string> StartCalls;

  void Packet(TObject*, const AnsiString& Str) {
    Events.push_back("P:" + Str);
    if (ThrowOnPacket && ++packets_ == ThrowOnPacket) throw std::runtime_error("handler failed");
  }
  void Discard(TObject*, const AnsiString& Str) { Events.push_back("D:" + Str); }
  void Start(TObject*, const AnsiString& Str, Integer& Pos) {
    StartCalls.push_back(Str);
    Pos = CustomStartPos;
  }
  void Stop(TObject*, const AnsiString&, Integer& Pos) { Pos = CustomStopPos; }

 private:
  int packets_ = 0;
};

struct Framer {
  Recorder rec;
  std::unique_ptr<TComDataPacket> fp{new TComDataPacket(nullptr)};
  Framer() {
    fp->OnPacket = TComStrEvent(&rec, &Recorder::Packet);
    fp->OnDiscard = TComStrEvent(&rec, &Recorder::Discard);
  }
  void Feed(std::initializer_list<std::string> chunks) {
    for (const auto& c : chunks) fp->AddData(c);
  }
};

using Events = std::vector<std::string>;

TEST(PacketFramer, DefaultsAndPublishedProperties) {
  Framer f;
  EXPECT_EQ(f.fp->MaxBufferSize(), 1024);
  EXPECT_EQ(f.fp->Size(), 0);
  EXPECT_FALSE(f.fp->IncludeStrings());
  EXPECT_FALSE(f.fp->CaseInsensitive());
  EXPECT_EQ(f.fp->ComPort(), nullptr);
  ASSERT_NE(f.fp->Link(), nullptr);
  EXPECT_TRUE(static_cast<bool>(f.fp->Link()->OnRxBuf));

  std::vector<std::string> names;
  for (PPropInfo p : GetPropList(TComDataPacket::StaticClass()))
    if (p->OwnerClass == TComDataPacket::StaticClass()) names.push_back(p->Name);
  std::vector<std::string> expected{"CaseInsensitive", "IncludeStrings", "MaxBufferSize", "StartString",
                                    "StopString",      "Size",           "OnDiscard",     "OnPacket",
                                    "OnCustomStart",   "OnCustomStop"};
#ifdef _WIN32
  expected.insert(expected.begin(), "ComPort");
#endif
  EXPECT_EQ(names, expected);
}

TEST(PacketFramer, WithoutStopRuleEveryChunkIsAPacket) {
  Framer f;
  f.fp->SetStartString(":");   // the start rule plays no part
  f.fp->SetMaxBufferSize(3);   // nor does the buffer limit
  f.Feed({"xx:ab", "c\n", "0123456789"});
  EXPECT_EQ(f.rec.Events, (Events{"P:xx:ab", "P:c\n", "P:0123456789"}));
  EXPECT_TRUE(f.fp->Buffer().empty());
}

struct Case {
  const char* name;
  std::string start, stop;
  int size, maxBuffer;
  bool include, caseInsensitive;
  std::vector<std::string> chunks;
  Events expected;
  std::string rest;  // left in the buffer
  bool inPacket;
};

TEST(PacketFramer, FramingTable) {
  const std::string big(5000, 'x');
  const std::vector<Case> cases = {
      {"discard before start, packet at stop", ":", "\n", 0, 1024, false, false, {"xx:abc\n"},
       {"D:xx", "P:abc"}, "", false},
      {"discard at once, packet when the stop arrives", ":", "\n", 0, 1024, false, false, {"xx:abc", "\n"},
       {"D:xx", "P:abc"}, "", false},
      {"two packets in one chunk, third kept", ":", "\n", 0, 1024, false, false, {":1\n:2\n:3"},
       {"P:1", "P:2"}, ":3", true},
      {"size wins over an earlier stop string", "", "Z", 4, 1024, false, false, {"abZcdef"}, {"P:abZc"}, "def",
       true},
      {"stop string found before the size is reached", "", "Z", 4, 1024, false, false, {"abZ", "cdef"},
       {"P:ab", "P:cdef"}, "", true},
      {"only the leading start and trailing stop are stripped", ":", "\n", 0, 1024, false, false, {":1:2\n"},
       {"P:1:2"}, "", false},
      {"stop search skips the start string", "::", ":", 0, 1024, false, false, {"::a:"}, {"P:a"}, "", false},
      {"a stop string occurring earlier is kept", "", "ab", 6, 1024, false, false, {"abxxab"}, {"P:abxxab"},
       "", true},
      {"include strings", ":", "\n", 0, 1024, true, false, {"x:abc\n"}, {"D:x", "P::abc\n"}, "", false},
      {"monitor answer", ":", "\n", 0, 100, false, false, {"\r\n:0103020001F9\r\n"},
       {"D:\r\n", "P:0103020001F9\r"}, "", false},
      {"buffer limit reached on the 10th character", ":", "\n", 0, 10, false, false, {":12345678", "9"},
       {"D::123456789"}, "", false},
      {"below the limit nothing is discarded", ":", "\n", 0, 10, false, false, {":12345678"}, {}, ":12345678",
       true},
      {"no limit keeps everything", ":", "\n", 0, 0, false, false, {":" + big}, {}, ":" + big, true},
      {"case insensitive start and stop (a-z only)", "ab", "yz", 0, 1024, false, true, {"xxAB1yYZ"},
       {"D:xx", "P:1y"}, "", false},
      {"case sensitive by default", "ab", "yz", 0, 1024, false, false, {"xxAB1yYZab2yz"},
       {"D:xxAB1yYZ", "P:2"}, "", false},
      {"cyrillic letters are not folded", "\xe0", "\n", 0, 1024, false, true, {"\xc0" "1\n"}, {}, "\xc0" "1\n",
       false},
      {"binary bytes pass", "\x01", std::string(1, '\0'), 0, 1024, false, false,
       {std::string("\x02\x01" "a\xff", 4) + std::string(1, '\0')}, {"D:\x02", "P:a\xff"}, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Framer f;
    f.fp->SetStartString(c.start);
    f.fp->SetStopString(c.stop);
    f.fp->SetSize(c.size);
    f.fp->SetMaxBufferSize(c.maxBuffer);
    f.fp->SetIncludeStrings(c.include);
    f.fp->SetCaseInsensitive(c.caseInsensitive);
    for (const auto& chunk : c.chunks) f.fp->AddData(chunk);
    EXPECT_EQ(f.rec.Events, c.expected);
    EXPECT_EQ(f.fp->Buffer(), c.rest);
    EXPECT_EQ(f.fp->InPacket(), c.inPacket);
  }
}

TEST(PacketFramer, RxBufCopiesTheCountedBytes) {
  Framer f;
  f.fp->SetStartString(":");
  f.fp->SetStopString("\n");
  const char data[] = ":a\0b\nzz";
  f.fp->RxBuf(nullptr, data, 5);
  f.fp->RxBuf(nullptr, data, 0);
  f.fp->RxBuf(nullptr, nullptr, 3);
  EXPECT_EQ(f.rec.Events, (Events{"P:" + std::string("a\0b", 3)}));
  EXPECT_TRUE(f.fp->Buffer().empty());
}

TEST(PacketFramer, CustomStartAndStop) {
  struct StartCase {
    int pos;
    Events expected;
    std::string rest;
    bool inPacket;
  };
  const std::vector<StartCase> starts = {
      {0, {}, "abcdef", false},         // keeps waiting
      {-5, {}, "abcdef", false},        // any other value too
      {3, {"D:ab"}, "cdef", true},      // discards the first two
      {1, {}, "abcdef", true},
      {100, {"D:abcdef"}, "", true},    // beyond the buffer: all of it goes
  };
  for (const auto& c : starts) {
    SCOPED_TRACE(c.pos);
    Framer f;
    f.fp->SetStartString("c");  // not consulted: the handler decides
    f.fp->SetStopString("\n");
    f.rec.CustomStartPos = c.pos;
    f.fp->OnCustomStart = TCustPacketEvent(&f.rec, &Recorder::Start);
    f.fp->AddData("abcdef");
    EXPECT_EQ(f.rec.Events, c.expected);
    EXPECT_EQ(f.fp->Buffer(), c.rest);
    EXPECT_EQ(f.fp->InPacket(), c.inPacket);
  }

  // The custom stop alone is a stop rule; a position beyond what has arrived waits for more.
  Framer f;
  f.fp->OnCustomStop = TCustPacketEvent(&f.rec, &Recorder::Stop);
  f.rec.CustomStopPos = 4;
  f.fp->AddData("abc");
  EXPECT_TRUE(f.rec.Events.empty());
  f.fp->AddData("defghi");
  f.rec.CustomStopPos = 0;
  f.fp->AddData("j");
  EXPECT_EQ(f.rec.Events, (Events{"P:abcd", "P:efgh"}));
  EXPECT_EQ(f.fp->Buffer(), "ij");
}

TEST(PacketFramer, ChangingARuleDiscardsThePartialPacket) {
  Framer f;
  f.fp->SetStartString(":");
  f.fp->SetStopString("\\r");
  f.fp->AddData(":0103");
  f.fp->SetStopString("\\r");  // unchanged: nothing happens
  EXPECT_TRUE(f.rec.Events.empty());
  f.fp->SetStopString("\n");
  EXPECT_EQ(f.rec.Events, (Events{"D::0103"}));
  EXPECT_FALSE(f.fp->InPacket());

  // Each of the four framing rules discards the same way; an empty buffer stays quiet.
  for (int rule = 0; rule < 4; ++rule) {
    f.rec.Events.clear();
    f.fp->AddData(":9");
    switch (rule) {
      case 0: f.fp->SetStartString("#"); break;
      case 1: f.fp->SetStopString("!"); break;
      case 2: f.fp->SetSize(50); break;
      case 3: f.fp->SetCaseInsensitive(true); break;
    }
    EXPECT_EQ(f.rec.Events, (Events{"D::9"})) << rule;
    f.fp->SetStartString(":");
    EXPECT_EQ(f.rec.Events.size(), 1u);
  }

  // While the component is being loaded, rules change without discarding.
  f.fp->AddData(":5");
  f.fp->SetComponentState(csLoading);
  f.fp->SetStopString("\r\n");
  f.fp->ClearComponentState(csLoading);
  EXPECT_EQ(f.fp->Buffer(), ":5");
}

TEST(PacketFramer, HandlerExceptionsKeepTheStateAsFarAsItGot) {
  Framer f;
  f.fp->SetStartString(":");
  f.fp->SetStopString("\n");
  f.fp->SetMaxBufferSize(5);
  f.rec.ThrowOnPacket = 1;
  // The first packet raises: it is gone, the rest was not framed, and the
  // buffer limit still applies to what is left.
  EXPECT_THROW(f.fp->AddData(":1\n:2\n:345"), std::runtime_error);
  EXPECT_EQ(f.rec.Events, (Events{"P:1", "D::2\n:345"}));
  EXPECT_TRUE(f.fp->Buffer().empty());

  // A discard handler that raises still leaves an empty buffer.
  struct Thrower : TObject {
    void Discard(TObject*, const AnsiString&) { throw std::runtime_error("discard failed"); }
  } thrower;
  f.fp->SetMaxBufferSize(0);
  f.fp->OnDiscard = TComStrEvent(&thrower, &Thrower::Discard);
  f.fp->AddData(":partial");
  EXPECT_THROW(f.fp->EmptyBuffer(), std::runtime_error);
  EXPECT_TRUE(f.fp->Buffer().empty());
  EXPECT_FALSE(f.fp->InPacket());
}

TEST(PacketFramer, AChunkOfManyPacketsRunsInConstantStack) {
  Framer f;
  f.fp->SetStartString(":");
  f.fp->SetStopString("\n");
  f.fp->SetMaxBufferSize(100);
  const int count = 20000;
  std::string chunk;
  for (int i = 0; i < count; ++i) chunk += ":" + std::to_string(i % 10) + "\n";
  RunOnSmallStack([&] { f.fp->AddData(chunk + ":x"); });
  ASSERT_EQ(f.rec.Events.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(f.rec.Events.front(), "P:0");
  EXPECT_EQ(f.rec.Events.back(), "P:9");
  EXPECT_EQ(f.fp->Buffer(), ":x");
}

TEST(PacketFramer, PacketHandlerMayFeedAndReconfigure) {
  // A handler that feeds more data or changes a rule while a chunk is framed
  // leaves the framer consistent.
  struct Feeder : TObject {
    TComDataPacket* fp = nullptr;
    std::vector<std::string> seen;
    void Packet(TObject*, const AnsiString& Str) {
      seen.push_back(Str);
      if (Str == "1") fp->AddData(":n\n");
      if (Str == "2") fp->SetStopString("!");
    }
  } feeder;
  Framer f;
  feeder.fp = f.fp.get();
  f.fp->SetStartString(":");
  f.fp->SetStopString("\n");
  f.fp->OnPacket = TComStrEvent(&feeder, &Feeder::Packet);
  f.fp->AddData(":1\n:2\n:3\n");
  EXPECT_EQ(feeder.seen, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(f.rec.Events, (Events{"D::3\n:n\n"}));
  EXPECT_TRUE(f.fp->Buffer().empty());
}

}  // namespace
