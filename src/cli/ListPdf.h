#pragma once

#include "cli/CommandLine.h"

namespace paysum {

// `paysum list --pdf FILE`: the transfer detail list of the current batch as a PDF.
int ListPdf(const Invocation& invocation);

}  // namespace paysum
