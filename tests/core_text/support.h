// Helpers shared by the text and conversion tests.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "classlib/core/SysUtils.h"

// Russian-style settings as the Windows locale gives them.
inline TFormatSettings RussianSettings() {
  TFormatSettings fs;
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ' ';
  fs.DateSeparator = '.';
  fs.TimeSeparator = ':';
  fs.ShortDateFormat = "dd.MM.yyyy";
  fs.LongTimeFormat = "H:mm:ss";
  fs.ShortTimeFormat = "H:mm";
  return fs;
}

inline TFormatSettings DotSettings() {
  TFormatSettings fs;
  fs.DecimalSeparator = '.';
  fs.ThousandSeparator = ',';
  return fs;
}

// Ends the process when a test runs past its time limit, so that a deadlock
// fails the run instead of hanging it.
class Watchdog {
 public:
  explicit Watchdog(int seconds, const char* what) : what_(what) {
    thread_ = std::thread([this, seconds] {
      std::unique_lock<std::mutex> lock(m_);
      if (!cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
        std::fprintf(stderr, "deadlock: %s did not finish in time\n", what_);
        std::fflush(stderr);
        std::_Exit(3);
      }
    });
  }
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(m_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }

 private:
  const char* what_;
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

// A fresh folder for file tests (removed with its contents at the end).
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    auto base = std::filesystem::temp_directory_path() /
                ("dk_core_text_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                 "_" + std::to_string(counter++));
    std::filesystem::create_directories(base);
    path_ = base;
    ansi_ = Utf8ToAnsi(reinterpret_cast<const char*>(base.u8string().c_str()));
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  // The folder as cp1251 text with a trailing delimiter.
  AnsiString Path() const { return IncludeTrailingPathDelimiter(ansi_); }
  // Whether the file system here takes Cyrillic names (Wine maps names
  // through the host's locale, and without that locale installed it cannot).
  bool TakesCyrillicNames() const {
    std::filesystem::path probe = path_ / std::filesystem::path(u8"\u0436");
    std::error_code ec;
    return std::filesystem::create_directory(probe, ec) && !ec;
  }

 private:
  std::filesystem::path path_;
  AnsiString ansi_;
};
