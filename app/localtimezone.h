#ifndef LOCALTIMEZONE_H
#define LOCALTIMEZONE_H

// Qt 5 calls tzset() before every conversion to local time. Without TZ set,
// glibc then looks at /etc/localtime again each time (a stat, and at times a
// new read), which costs a few microseconds per table cell, chart label,
// session line and exported date. Naming the system's zone file in TZ gives
// the same zone and lets glibc keep what it has read; a change of the
// system's zone then takes effect at the next start.
class LocalTimeZone
{
public:
    // Call before any local time is converted; a TZ the user set is kept.
    static void keepSystemZone();
};

#endif // LOCALTIMEZONE_H
