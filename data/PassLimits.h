#pragma once
// The limits a measurement is judged by, in the unit of the stored values (tenths of a percent):
// the windscreen needs 75,0 and each side window 70,0; a value equal to its limit passes.

constexpr float FrontLimit = 750.0f;
constexpr float SideLimit = 700.0f;
