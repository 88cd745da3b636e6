#pragma once
// An input still to be worked out: the ambient values from the altitude, a fuel's properties from
// the fuel chosen. Such an input holds this marker until point::evaluatePoint works it out; a
// value typed over it wins.

namespace turbo {

// A quiet NaN with a payload no typed "nan" carries.
float notGiven();
bool isNotGiven(float value);

} // namespace turbo
