#pragma once
// --template FILE.svg for flame-tube: the drilling template of the one tube computed, through the
// one safe way of writing a user's file.

#include "options.hpp"

namespace cli {

// Checks --template and --paper before anything runs; throws BadInput.
void checkTemplateOptions(const Arguments& args, bool onePoint);
// Writes the template of the tube just computed, when asked; throws BadInput when the tube
// cannot be drilled or the file cannot be written.
void writeTemplate(const Arguments& args, const Calculation& calc);

} // namespace cli
