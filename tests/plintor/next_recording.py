#!/usr/bin/env python3
"""Cases of the next-recording computation with their expected results, worked out day by day in
the Europe/Bratislava calendar with zoneinfo (an independent reference):

  next_recording.py OUT   writes lines "kind start duration interval mask now expected_start form"

Forms: 0 never, 1 today, 2 today until tomorrow, 3 tomorrow, 4 tomorrow until later, 5 same day,
6 other days. Times of day avoid the hour that daylight saving skips or repeats.
"""
import datetime
import sys
import zoneinfo

TZ = zoneinfo.ZoneInfo("Europe/Bratislava")
DAY = datetime.timedelta(days=1)


def instant(d, h, m):
    return int(datetime.datetime(d.year, d.month, d.day, h, m, tzinfo=TZ).timestamp())


def local(ts):
    return datetime.datetime.fromtimestamp(ts, TZ)


def expected(kind, start, duration, interval, mask, now):
    s = local(start)
    d0, h, m = s.date(), s.hour, s.minute
    step = interval or 1
    mask &= 0x7F
    d = d0
    if kind == 1:
        while instant(d, h, m) < now:
            d += step * DAY
    elif kind == 2 and mask:
        week0 = d0 - (d0.isoweekday() % 7) * DAY
        while True:
            wd = d.isoweekday() % 7
            week = ((d - wd * DAY) - week0).days // 7
            if mask >> wd & 1 and week % step == 0 and instant(d, h, m) >= now:
                break
            d += DAY
    first = instant(d, h, m)
    end = first + duration
    if first < now:
        return first, 0
    today = local(now).date()
    sd, ed = local(first).date(), local(end).date()
    if sd == today and ed == today:
        return first, 1
    if sd == today and ed == today + DAY:
        return first, 2
    if sd == today + DAY and ed == today + DAY:
        return first, 3
    if sd == today + DAY:
        return first, 4
    return first, 5 if sd == ed else 6


def cases():
    nows = [instant(datetime.date(2026, 3, 27), 21, 0),   # before the spring change
            instant(datetime.date(2026, 3, 29), 9, 30),   # on its day
            instant(datetime.date(2026, 10, 24), 23, 30), # before the autumn change
            instant(datetime.date(2026, 10, 26), 0, 15),
            instant(datetime.date(2026, 6, 10), 12, 0)]
    for now in nows:
        today = local(now).date()
        for offset in (-40, -9, -1, 0, 1, 3):
            for hm in ((0, 30), (8, 0), (20, 15), (23, 30)):
                start = instant(today + offset * DAY, *hm)
                for duration in (1800, 3600, 7200):
                    yield 0, start, duration, 0, 0, now
                    for interval in (0, 1, 3):
                        yield 1, start, duration, interval, 0, now
                    for interval, mask in ((1, 0b0010010), (2, 0b0010010), (3, 0b1000001), (1, 0x80),
                                           (0, 0x7F), (1, 0)):
                        yield 2, start, duration, interval, mask, now


def main(path):
    with open(path, "w") as out:
        for case in cases():
            first, form = expected(*case)
            out.write(" ".join(str(v) for v in case) + " %d %d\n" % (first, form))


if __name__ == "__main__":
    main(sys.argv[1])
