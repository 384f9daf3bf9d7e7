// The record the stand-in kit programs (java.exe, javac.exe for tests under
// Wine) append to the file named by NERBO_STANDIN_LOG, and its parser.
//
// One record per run, each line ended by a line feed, values without line
// breaks:
//   record
//   line=<the raw command line, in UTF-8>
//   directory=<the current directory>
//   classpath=<the value of CLASSPATH>      (only when CLASSPATH is set)
#pragma once

#include <string>
#include <vector>

namespace nerbo {

inline constexpr char kStandinLogVariable[] = "NERBO_STANDIN_LOG";
// Decimal exit status (4294967295 is -1); 0 when unset.
inline constexpr char kStandinStatusVariable[] = "NERBO_STANDIN_STATUS";
// A file the stand-in creates empty, as a compiler writes a class file.
inline constexpr char kStandinWriteVariable[] = "NERBO_STANDIN_WRITE";

struct StandinRecord {
  std::string command_line;
  std::string directory;
  bool has_classpath = false;
  std::string classpath;
};

inline std::string FormatStandinRecord(const StandinRecord& record) {
  std::string text = "record\nline=" + record.command_line + "\ndirectory=" + record.directory + "\n";
  if (record.has_classpath) text += "classpath=" + record.classpath + "\n";
  return text;
}

inline std::vector<StandinRecord> ParseStandinLog(const std::string& text) {
  std::vector<StandinRecord> records;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "record") {
      records.emplace_back();
      continue;
    }
    std::size_t equals = line.find('=');
    if (records.empty() || equals == std::string::npos) continue;
    std::string key = line.substr(0, equals);
    std::string value = line.substr(equals + 1);
    StandinRecord& record = records.back();
    if (key == "line") record.command_line = value;
    if (key == "directory") record.directory = value;
    if (key == "classpath") {
      record.has_classpath = true;
      record.classpath = value;
    }
  }
  return records;
}

}  // namespace nerbo
