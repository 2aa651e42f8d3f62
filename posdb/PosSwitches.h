#pragma once
// The point of sale's switches for the monitor, in its MY_PARAM table: whether the cooks may
// give serving times and set limits, and the alarm time.

class Form_Base;

namespace PosSwitches {
// Has the data module read the switches at each attach that needs them.
void wire(Form_Base& base);
// Reads them and tells the data module's hooks; throws DbError when they cannot be read.
void read(Form_Base& base);
}
