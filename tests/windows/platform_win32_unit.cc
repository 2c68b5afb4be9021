// The Windows platform layer against the system itself (run under Wine by
// the Windows test run): argument hiding, the file search and opening, the
// result file, the profile call, locale items and code locations.
#include <windows.h>
// The platform's LoadLibrary is meant, not windows.h's macro for LoadLibraryA.
#undef LoadLibrary

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "platform/platform.h"

namespace {

// A fresh directory under the system's temporary directory, removed with
// its files at the end.
class TempDirectory {
 public:
  TempDirectory() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + "qelt-unit-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++count_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempDirectory() {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = path_ + "\\" + entry.cFileName;
        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveDirectoryA(name.c_str());
        } else {
          DeleteFileA(name.c_str());
        }
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  static int count_;
  std::string path_;
};
int TempDirectory::count_ = 0;

void Write(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Read(const std::string& path) {
  std::string content;
  return platform::ReadWholeFile(path, &content) ? content : "<unreadable>";
}

// A handle of this process on `path`, as another program would hold it.
class OpenFile {
 public:
  OpenFile(const std::string& path, DWORD access, DWORD share)
      : handle_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OpenFile() { CloseHandle(handle_); }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// ---- HideArgument ----

// The process's own command line is swapped for each case's while it runs.
TEST(HideArgumentTest, BlanksTheArgumentWhereTheProcessListReadsIt) {
  struct Case {
    std::wstring line;
    size_t position;
    std::wstring hidden;
  };
  const Case cases[] = {
      {L"qelt db user secret sql", 2, L"qelt db user        sql"},
      {L"qelt db user \"se cr\"et sql", 2, L"qelt db user " + std::wstring(9, L' ') + L" sql"},
      {L"qelt db \"\" user pw sql", 2, L"qelt db \"\" user    sql"},
      {L"\"C:\\my dir\\qelt.exe\"\tdb  user\tpw", 2, L"\"C:\\my dir\\qelt.exe\"\tdb  user\t  "},
      {L"qelt db user", 2, L"qelt db user"},
  };
  wchar_t* line = GetCommandLineW();
  const std::wstring original = line;
  for (const Case& c : cases) {
    ASSERT_LE(c.line.size(), original.size()) << "the test program's path is too short";
    std::copy(c.line.c_str(), c.line.c_str() + c.line.size() + 1, line);
    platform::HideArgument(0, nullptr, c.position);
    EXPECT_EQ(std::wstring(line), c.hidden);
  }
  std::copy(original.c_str(), original.c_str() + original.size() + 1, line);
}

// ---- Files ----

TEST(ProgramDirectoryTest, EndsWithTheSeparatorAndHoldsTheProgram) {
  std::string directory = platform::ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '\\');
  EXPECT_NE(GetFileAttributesA((directory + "qelt_unit_tests.exe").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST(FindPlainFileTest, TheFirstEntryOfTheSearchDecides) {
  TempDirectory dir;
  Write(dir.File("query.sql"), "select 1");
  Write(dir.File("old.sql"), "select 1");
  CreateDirectoryA(dir.File("sub").c_str(), nullptr);
  // 1 December 1979, 12:00 UTC, in 100-nanosecond steps since 1601.
  HANDLE old = CreateFileA(dir.File("old.sql").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ULARGE_INTEGER when;
  when.QuadPart = 119565648000000000ULL;
  FILETIME time = {when.LowPart, when.HighPart};
  ASSERT_TRUE(SetFileTime(old, nullptr, nullptr, &time));
  CloseHandle(old);
  struct Case {
    std::string pattern;
    bool found;
  };
  const Case cases[] = {
      {dir.File("query.sql"), true},  {dir.File("QUERY.SQL"), true},
      {dir.File("q*.s?l"), true},     {dir.File("sub"), false},
      {dir.File("old.sql"), false},   {dir.File("missing.sql"), false},
      {dir.File("*.none"), false},    {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::FindPlainFile(c.pattern), c.found) << c.pattern;
  }
}

TEST(ReadWholeFileTest, OthersMayReadButNotWrite) {
  TempDirectory dir;
  const std::string name = dir.File("query.sql");
  Write(name, std::string("a\0b", 3));
  EXPECT_EQ(Read(name), std::string("a\0b", 3));
  {
    OpenFile reader(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.ok());
    EXPECT_EQ(Read(name), std::string("a\0b", 3));
  }
  {
    OpenFile writer(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.ok());
    EXPECT_EQ(Read(name), "<unreadable>");
  }
  EXPECT_EQ(Read(dir.File("q*.sql")), "<unreadable>");
  EXPECT_EQ(Read(dir.File("missing.sql")), "<unreadable>");
}

// ---- ReplacementFile ----

TEST(ReplacementFileTest, TheTargetChangesOnlyOnCommit) {
  TempDirectory dir;
  const std::string target = dir.File("out.txt");
  Write(target, "earlier");
  {
    platform::ReplacementFile file;
    ASSERT_TRUE(file.Create(target));
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_EQ(Read(target), "earlier");
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(Read(target), "new");
  {
    platform::ReplacementFile file;
    ASSERT_TRUE(file.Create(target));
    ASSERT_TRUE(file.Write("dropped", 7));
  }
  EXPECT_EQ(Read(target), "new");
  // No new file is left beside the target.
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(dir.File("out.txt.qelt-*").c_str(), &entry);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST(ReplacementFileTest, TargetsThatCantBeReplaced) {
  TempDirectory dir;
  Write(dir.File("held.txt"), "earlier");
  Write(dir.File("readonly.txt"), "earlier");
  SetFileAttributesA(dir.File("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA(dir.File("sub").c_str(), nullptr);
  OpenFile holder(dir.File("held.txt"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(holder.ok());
  for (const std::string& target :
       {dir.File("held.txt"), dir.File("readonly.txt"), dir.File("sub"),
        dir.File("missing\\out.txt"), dir.File("bad?name.txt"), std::string()}) {
    platform::ReplacementFile file;
    EXPECT_FALSE(file.Create(target)) << target;
  }
  EXPECT_EQ(Read(dir.File("held.txt")), "earlier");
}

TEST(ReplacementFileTest, ADeviceIsWrittenDirectly) {
  platform::ReplacementFile file;
  ASSERT_TRUE(file.Create("NUL"));
  EXPECT_TRUE(file.Write("x\r\n", 3));
  EXPECT_TRUE(file.Commit());
}

// ---- The profile call ----

// The system's profile reader and the POSIX build's reader agree on what a
// settings file is made of.
TEST(ProfileCallTest, TheSystemReadsWhatThePortableReaderReads) {
  const std::string cases[] = {
      "[SELECT]\r\nOutFile=C:\\out\\rows.txt\r\n",
      "[select]\n  outfile  =  rows.txt  \n",
      "; comment\n[FORMAT]\nOutFile=no\n[SELECT]\nOther=1\nOutFile=yes\n",
      "[SELECT]\nOutFile=\"quoted\"\n",
      "[SELECT]\nOutFile='single'\n",
      "[SELECT]\nOutFile=\n",
      "[SELECT]\nOutFile=a=b;c\n",
      "[SELECT]\n",
      "[OTHER]\nOutFile=no\n",
      "",
  };
  TempDirectory dir;
  const std::string ini = dir.File("qelt.ini");
  for (const std::string& content : cases) {
    Write(ini, content);
    EXPECT_EQ(platform::ReadProfileString(ini, "SELECT", "OutFile", "<default>"),
              FindProfileString(content, "SELECT", "OutFile", "<default>"))
        << content;
  }
  EXPECT_EQ(platform::ReadProfileString(dir.File("missing.ini"), "SELECT", "OutFile", "dflt"),
            "dflt");
}

// ---- Locale items ----

class LocaleItemTest : public ::testing::Test {
 protected:
  void TearDown() override { SetThreadLocale(saved_); }
  static std::string System(LCTYPE type) {
    char text[256];
    int length = GetLocaleInfoA(GetThreadLocale(), type, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length - 1)) : "<none>";
  }
  static std::string Item(platform::LocaleItem item, int index = 0) {
    std::string text;
    return platform::GetLocaleItem(item, index, &text) ? text : "<none>";
  }

  LCID saved_ = GetThreadLocale();
};

TEST_F(LocaleItemTest, TheThreadsLocaleGivesTheItems) {
  using platform::LocaleItem;
  ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
  EXPECT_EQ(Item(LocaleItem::kDecimalSeparator), ",");
  EXPECT_EQ(Item(LocaleItem::kDateSeparator), ".");
  EXPECT_EQ(Item(LocaleItem::kTimeSeparator), ":");
  EXPECT_EQ(Item(LocaleItem::kShortDatePattern), System(LOCALE_SSHORTDATE));
  EXPECT_EQ(Item(LocaleItem::kLongDatePattern), System(LOCALE_SLONGDATE));
  EXPECT_EQ(Item(LocaleItem::kClock), "1");
  EXPECT_EQ(Item(LocaleItem::kCalendarType), "1");
  EXPECT_EQ(Item(LocaleItem::kPrimaryLanguage), "de");
  // Names in the ANSI code page, days counted from Sunday.
  EXPECT_EQ(Item(LocaleItem::kShortMonthName, 3), "M\xe4r");
  EXPECT_EQ(Item(LocaleItem::kLongMonthName, 12), "Dezember");
  EXPECT_EQ(Item(LocaleItem::kLongDayName, 1), "Sonntag");
  EXPECT_EQ(Item(LocaleItem::kLongDayName, 2), "Montag");
  EXPECT_EQ(Item(LocaleItem::kLongDayName, 7), "Samstag");
  EXPECT_EQ(Item(LocaleItem::kShortDayName, 1), System(LOCALE_SABBREVDAYNAME7));
  for (int out_of_range : {0, 8}) {
    EXPECT_EQ(Item(LocaleItem::kLongDayName, out_of_range), "<none>");
  }
  EXPECT_EQ(Item(LocaleItem::kLongMonthName, 13), "<none>");
}

TEST_F(LocaleItemTest, TheLanguageAndTheClockFollowTheLocale) {
  using platform::LocaleItem;
  ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT)));
  EXPECT_EQ(Item(LocaleItem::kPrimaryLanguage), "ja");
  ASSERT_TRUE(
      SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)));
  EXPECT_EQ(Item(LocaleItem::kClock), "0");
  EXPECT_EQ(Item(LocaleItem::kTimeMarkPosition), "0");
  EXPECT_EQ(Item(LocaleItem::kAmString), "AM");
  EXPECT_EQ(Item(LocaleItem::kPmString), "PM");
}

// ---- Library and code locations ----

TEST(LocateCodeTest, TheModuleThatHoldsTheAddress) {
  HMODULE program = GetModuleHandleA(nullptr);
  const void* own = reinterpret_cast<const void*>(&platform::LocateCode);
  platform::CodeLocation here = platform::LocateCode(own);
  EXPECT_EQ(here.module, "qelt_unit_tests.exe");
  EXPECT_EQ(here.offset, reinterpret_cast<uintptr_t>(own) - reinterpret_cast<uintptr_t>(program));

  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const void* system = reinterpret_cast<const void*>(GetProcAddress(kernel, "GetTickCount"));
  platform::CodeLocation there = platform::LocateCode(system);
  EXPECT_EQ(CharLowerA(&there.module[0]), std::string("kernel32.dll"));

  platform::CodeLocation nowhere = platform::LocateCode(reinterpret_cast<const void*>(0x10));
  EXPECT_EQ(nowhere.module, "qelt_unit_tests.exe");
  EXPECT_EQ(nowhere.offset, 0x10u);
}

TEST(MissingSymbolErrorTest, IsTheSystemsError) {
  void* kernel = platform::LoadLibrary("kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  EXPECT_NE(platform::LibrarySymbol(kernel, "GetTickCount"), nullptr);
  void* missing = platform::LibrarySymbol(kernel, "isc_attach_database");
  std::string message;
  bool described = platform::MissingSymbolError(&message);
  EXPECT_EQ(missing, nullptr);
  ASSERT_TRUE(described);
  const std::string head = "Win32-Fehler. Code: 127.\n";
  EXPECT_EQ(message.substr(0, head.size()), head);
  EXPECT_GT(message.size(), head.size());
  EXPECT_GT(static_cast<unsigned char>(message.back()), 32);
}

}  // namespace
