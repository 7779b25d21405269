#pragma once
// Date-time doubles (days since 1899-12-30 with the time as fraction) to and from text in
// formats such as "yyyy-mm-dd" and "hh:nn:ss", as SQLite stores dates.

#include "platform/text/AnsiText.h"

// Whether each of the letters y, m, d, h, n, s and z (either case) makes at most one run in
// `format`: a reader of "ddd yyyy-mm-dd" could not tell which number is the day.
bool IsValidDateTimeFormat(const AnsiString& format);

// yyyy, yy, mm, m, dd, d, hh, h, nn, n, ss, s and zzz are replaced; other characters are kept.
// Raises EConvertError "Date value out of range" outside the years 1 to 9999.
AnsiString FormatDateTime(const AnsiString& format, double dateTime);

// Reads "<date> <time>", a date alone or a time alone, with the parts in the order the
// formats give them; false when the text is no such date, when the date lies outside the
// years 1 to 9999, and for a date format that is not valid or lacks year, month or day.
// Hours, minutes, seconds and milliseconds of a time always come in that order.
bool ParseDateTime(const AnsiString& text, const AnsiString& dateFormat, char dateSeparator, char timeSeparator,
                   double& dateTime);

// Days since 1899-12-30 of a calendar date, and back; DecodeDate raises EConvertError "Date
// value out of range" outside the years 1 to 9999.
double EncodeDate(int year, int month, int day);
void DecodeDate(double dateTime, int& year, int& month, int& day);
