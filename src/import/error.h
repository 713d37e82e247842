// Why an import of measured values stops.
#pragma once

namespace zx {

// What stops an import; each names one input.
enum class ImportError {
  None,
  Unreadable,  // the measured file cannot be read
  NoRows,      // the table gave no rows
  XColumn,     // beyond the fields of the table
  YColumn,
  TemperatureColumn,
  TapLength,            // not a positive length
  Width,                // not a positive length
  Thickness,            // not a positive length
  BackgroundFraction,   // outside 0..1
  MinField,             // negative or not a number
  FewBackgroundPoints,  // fewer than kMinBackgroundPoints below the background limit
  NothingKept,          // no point left to write
  TooManyPoints,        // more points than a data file may hold
};

}  // namespace zx
