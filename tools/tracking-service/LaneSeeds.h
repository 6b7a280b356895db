// The demo data of each feature, one seed function per feature, each in its own <Feature>Seed.cpp; the demo
// seed (DemoData::seed) calls them all after the account and its devices exist.
//
//   seedAttendance(store, DemoSeed { DemoData::AccountName, now, today });
#pragma once

#include "base/time/Date.h"

#include <string>

namespace tracking_service {

class ServiceStore;

struct DemoSeed {
    std::string account;
    base::Date now;
    // The start of now's day, in the local calendar.
    base::Date today;
};

void seedChat(ServiceStore& store, const DemoSeed& demo);
void seedSettings(ServiceStore& store, const DemoSeed& demo);
void seedNumber(ServiceStore& store, const DemoSeed& demo);
// The watch's phone book.
void seedPhoneBook(ServiceStore& store, const DemoSeed& demo);
// The watch's attendance rows: arrivals and departures in every state.
void seedAttendance(ServiceStore& store, const DemoSeed& demo);
// The watch's alarm clocks and timetable.
void seedSchedule(ServiceStore& store, const DemoSeed& demo);
// The watch's step count.
void seedChallenge(ServiceStore& store, const DemoSeed& demo);
void seedPurchase(ServiceStore& store, const DemoSeed& demo);

} // namespace tracking_service
