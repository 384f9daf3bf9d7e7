#include <array>
#include <cstddef>

#include "runtime/error_number.h"

namespace nerbo {
namespace {

// Windows system error codes 0..298 that do not read as "Invalid argument".
// Codes the tool reports itself keep their fixed numbers (2 and 3 file or
// path not found, 5 access denied, 15 invalid drive, 21 device not ready,
// 123 invalid name, 206 name too long); the others go to the text that says
// the same thing.
struct CodeRow {
  unsigned short code;
  unsigned char number;
};

constexpr CodeRow kCodeRows[] = {
    {0, 0},     // success
    {2, 2},     // file not found
    {3, 2},     // path not found
    {4, 4},     // too many open files
    {5, 5},     // access denied
    {6, 6},     // invalid handle
    {7, 7},     // storage control blocks destroyed
    {8, 8},     // not enough memory
    {9, 9},     // invalid block
    {10, 10},   // bad environment
    {11, 11},   // bad format
    {12, 12},   // invalid access
    {13, 13},   // invalid data
    {14, 8},    // out of memory
    {15, 5},    // invalid drive
    {16, 16},   // current directory cannot be removed
    {17, 17},   // not same device
    {18, 18},   // no more files
    {19, 30},   // write protected
    {20, 15},   // unknown unit
    {21, 44},   // device not ready
    {23, 40},   // data error (CRC)
    {25, 29},   // seek error
    {26, 40},   // not a DOS disk
    {27, 40},   // sector not found
    {29, 40},   // write fault
    {30, 40},   // read fault
    {31, 40},   // general failure
    {32, 5},    // sharing violation
    {33, 5},    // lock violation
    {34, 15},   // wrong disk
    {39, 28},   // handle disk full
    {53, 2},    // bad network path
    {65, 5},    // network access denied
    {67, 2},    // bad network name
    {80, 35},   // file exists
    {82, 5},    // cannot make
    {83, 40},   // fail on INT 24
    {86, 5},    // invalid password
    {89, 42},   // no process slots
    {108, 44},  // drive locked
    {109, 32},  // broken pipe
    {111, 48},  // file name too long (buffer overflow)
    {112, 28},  // disk full
    {114, 6},   // invalid target handle
    {122, 34},  // insufficient buffer
    {123, 2},   // invalid name
    {128, 24},  // no child processes to wait for
    {129, 24},  // child not complete
    {130, 6},   // direct access handle
    {131, 29},  // negative seek
    {132, 29},  // seek on device
    {142, 44},  // busy drive
    {148, 44},  // path busy
    {155, 42},  // too many task control blocks
    {158, 5},   // not locked
    {161, 2},   // bad path name
    {164, 42},  // no more threads
    {167, 5},   // lock failed
    {170, 44},  // busy
    {183, 35},  // already exists
    {188, 21}, {189, 21}, {190, 21}, {191, 21}, {192, 21}, {193, 21}, {194, 21},  // not a
    {195, 21}, {196, 21}, {197, 21}, {198, 21}, {199, 21}, {200, 21}, {201, 21},  // runnable
    {202, 21},                                                                    // image
    {206, 48},  // file name or extension too long
    {215, 42},  // nesting not allowed
    {232, 32},  // pipe being closed
    {267, 45},  // directory name invalid
};

constexpr std::size_t kTableSize = 299;  // codes 0..298; greater codes read as code 1
constexpr unsigned char kOtherwise = kErrInvalid;

constexpr std::array<unsigned char, kTableSize> BuildTable() {
  std::array<unsigned char, kTableSize> table{};
  for (unsigned char& number : table) number = kOtherwise;
  for (const CodeRow& row : kCodeRows) table[row.code] = row.number;
  return table;
}

constexpr std::array<unsigned char, kTableSize> kTable = BuildTable();

}  // namespace

int ErrorNumberFromPlatformCode(unsigned long code) { return kTable[code < kTableSize ? code : 1]; }

}  // namespace nerbo
