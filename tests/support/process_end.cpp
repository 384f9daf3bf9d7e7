#include "support/process_end.h"

#include "launcher/run_sequence.h"

namespace nerbo {

void ThrowProcessEnded(int status) { throw ProcessEnded{status}; }

int RunToStatus(RunContext& context) {
  try {
    RunToEnd(context, ThrowProcessEnded);
  } catch (const ProcessEnded& ended) {
    return ended.status;
  }
}

int RunModeToStatus(RunContext& context, void (*mode)(RunContext&)) {
  SetRunEnding(context, ThrowProcessEnded);
  try {
    mode(context);
  } catch (const ProcessEnded& ended) {
    return ended.status;
  }
  return -1;  // not reached: every mode ends through the ending
}

}  // namespace nerbo
