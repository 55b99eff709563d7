#pragma once

#include "date_reading.h"

#include "calendar/date_error.h"

#include <QString>

// What the window tells the user of a date that names no day: one Arabic sentence that says
// what is wrong, naming the field, or the month and year as typed.
QString dateErrorText(const EntryError &error);
QString dateErrorText(const calendar::DateError &error);
