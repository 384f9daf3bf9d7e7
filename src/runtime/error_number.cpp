#include "runtime/error_number.h"

namespace nerbo {
namespace {
int g_error_number = 0;
}  // namespace

int ErrorNumber() { return g_error_number; }
void SetErrorNumber(int number) { g_error_number = number; }

}  // namespace nerbo
