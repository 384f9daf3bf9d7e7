#include "compile/compile_source.h"

#include "launcher/message_code.h"

namespace nerbo {

// Not yet built: ends the run with the mode's own message code.
void CompileSource(RunContext&) { RaiseMessageCode(kMsgCompiled); }

}  // namespace nerbo
