#!/usr/bin/python3
"""The streams the track goldens of tests/data/replay must send, worked out from the rules of
the conversion independently of the program: the haversine and the great-circle bearing on a
sphere of the Earth's mean radius. Usage: track_streams.py [--write]; without --write it says
which golden differs from what the rules give (exit status 1), with it the files are rewritten.
"""
import math
import sys
import xml.etree.ElementTree as ET
from datetime import datetime, timedelta, timezone
from pathlib import Path

FOLDER = Path(__file__).resolve().parents[2] / "tests/data/replay"
RADIUS = 6371008.8


def frame(text):
    body = text[1:]
    checksum = 0
    for ch in body:
        checksum ^= ord(ch)
    return "%s*%02X" % (text, checksum)


def position(degrees, degree_digits):
    thousandths = round(abs(degrees) * 60 * 1000)
    whole, rest = divmod(thousandths, 60000)
    return "%0*d%02d.%03d" % ((degree_digits, whole) + divmod(rest, 1000))


def haversine(a, b):
    p1, p2 = math.radians(a[0]), math.radians(b[0])
    h = math.sin((p2 - p1) / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(
        math.radians(b[1] - a[1]) / 2) ** 2
    return 2 * RADIUS * math.asin(math.sqrt(h))


def arrival(a, b):
    """The bearing of the leg from a where it arrives at b: the bearing back, turned round."""
    p1, p2, back = math.radians(a[0]), math.radians(b[0]), math.radians(a[1] - b[1])
    y = math.sin(back) * math.cos(p1)
    x = math.cos(p2) * math.sin(p1) - math.sin(p2) * math.cos(p1) * math.cos(back)
    return int(math.floor(math.degrees(math.atan2(y, x)) + 180 + 0.5)) % 360


def knots(kmh):
    tenths = int(math.floor(kmh / 1.852 * 10 + 0.5))
    return str(tenths // 10) + (".%d" % (tenths % 10) if tenths % 10 else "")


def nearest_metre(metres):
    return int(math.floor(abs(metres) + 0.5)) * (1 if metres > 0 else -1) + 0


def stream(points, autoreset=False, talker="GP"):
    """points: dicts of lat, lon (degrees), alt (metres, None for none; absent: the one
    before stays), at (a UTC datetime or None), frac (the second's fraction as written),
    seg (the point starts a segment), zero (the receiver's zero date)."""
    out = []
    start = previous = previous_moment = course = clock = altitude = None
    speed_knots, speed_kmh = "", 0
    for p in points:
        here = (p["lat"], p["lon"])
        if p.get("seg") and autoreset:
            start = previous = previous_moment = course = clock = None
            speed_knots = ""
        at = p["at"]
        if at is not None:
            moment = at.timestamp()
            clock = moment if clock is None else clock
            if not 0 <= (moment - clock) // 60 < 100:  # the trip starts again
                course, speed_knots, altitude, clock = None, "", None, moment
        if "alt" in p:
            altitude = p["alt"]
        start = start or here
        metres = haversine(start, here)
        if metres > 0:
            course = arrival(start, here)
        if previous is not None:
            metres = haversine(previous, here)
            if metres > 0:
                course = arrival(previous, here)
        previous = here
        moment = None if at is None else at.timestamp() + float("0." + (p.get("frac") or "0"))
        if moment is not None and previous_moment is not None and moment > previous_moment:
            kmh = metres * 3.6 / (moment - previous_moment)
            speed_kmh, speed_knots = int(math.floor(kmh + 0.5)), knots(kmh)
        previous_moment = moment
        time = "" if at is None else at.strftime("%H%M%S")
        if p.get("frac"):
            time += "." + (p["frac"] + "0")[:2]
        date = "000000" if at is None else at.strftime("%d%m%y")
        if p.get("zero"):
            time, date = "000000", ""
        where = "%s,%s,%s,%s" % (position(p["lat"], 2), "S" if p["lat"] < 0 else "N",
                                 position(p["lon"], 3), "W" if p["lon"] < 0 else "E")
        ctext = "" if course is None else "%03d" % course
        kmh_text = str(speed_kmh) if speed_knots else ""
        alt = "" if altitude is None else str(altitude)
        out += [frame("$%sRMC,%s,A,%s,%s,%s,%s,000.0,E" %
                      (talker, time, where, speed_knots, ctext, date)),
                frame("$%sGGA,%s,%s,1,12,1.0,%s,M,,M,," % (talker, time, where, alt)),
                frame("$%sVTG,%s,T,,M,%s,N,%s,K" % (talker, ctext, speed_knots, kmh_text))]
    return "".join(line + "\r\n" for line in out)


def gpx_points(path):
    """The track points of a GPX file: segments, heights and times as written."""
    points = []
    for segment in ET.parse(path).iter():
        if not segment.tag.endswith("trkseg"):
            continue
        for i, pt in enumerate(e for e in segment if e.tag.endswith("trkpt")):
            point = {"lat": float(pt.get("lat")), "lon": float(pt.get("lon")), "seg": i == 0,
                     "at": None, "alt": None}
            for child in pt:
                if child.tag.endswith("ele"):
                    point["alt"] = nearest_metre(float(child.text))
                if child.tag.endswith("time"):
                    text = child.text.strip().upper().replace("Z", "+00:00")
                    moment = datetime.fromisoformat(text).astimezone(timezone.utc)
                    point["at"] = moment.replace(microsecond=0)
                    point["frac"] = text[20:text.index("+", 19)] if text[19] == "." else ""
            points.append(point)
    return points


def utc(text):
    return datetime.fromisoformat(text).replace(tzinfo=timezone.utc)


def on_run_clock(points):
    """A track without times on the test clock: 12:00:00 UTC on 6 December 2026, a second
    (the interval) more for each point."""
    for k, p in enumerate(points):
        p["at"] = utc("2026-12-06 12:00:00") + timedelta(seconds=k)
    return points


def expected():
    berlin = 13 + 22 / 60
    streams = {name: stream(gpx_points(FOLDER / name)) for name in (
        "andes.gpx", "gap-of-three-hours.gpx", "five-hertz-across-midnight.gpx",
        "walk-in-1989.gpx", "ocean-and-pole.gpx")}
    streams["bayou-one-tuple-a-line.kml"] = stream(on_run_clock([
        dict(lat=30.0, lon=-91.5, alt=10), dict(lat=30.016666667, lon=-91.5, alt=None),
        dict(lat=30.016666667, lon=-91.483333333, alt=13)]))
    streams["dateline-one-line.kml"] = stream(on_run_clock([
        dict(lat=-16.5, lon=179.991666667, alt=5), dict(lat=-16.5, lon=-179.991666667, alt=5),
        dict(lat=-16.516666667, lon=-179.991666667, alt=5)]))
    streams["talker-gn-western.kml"] = stream(on_run_clock([
        dict(lat=-22.9, lon=-43.2, alt=4), dict(lat=-22.8975, lon=-43.2025, alt=6)]),
        talker="GN")
    streams["equator-several-a-line.kml"] = stream(on_run_clock([
        dict(lat=0.0083333, lon=36.8, alt=1650), dict(lat=-0.0083333, lon=36.8, alt=1652),
        dict(lat=-0.025, lon=36.8, alt=1655), dict(lat=-0.025, lon=36.8166667, alt=1655)]))
    streams["harbour-gx-track.kml"] = stream([
        dict(lat=-33.85, lon=151.2, alt=3, at=utc("2010-05-28 02:02:09")),
        dict(lat=-33.866666667, lon=151.2, alt=4, at=utc("2010-05-28 02:03:09")),
        dict(lat=-33.866666667, lon=151.183333333, alt=5, at=utc("2010-05-28 02:04:09"))])
    streams["own-track.trk"] = stream([
        dict(lat=52 + m / 60, lon=berlin, alt=156, at=utc("2010-12-02 12:%02d:00" % m))
        for m in (30, 31, 32)])
    streams["zero-date-midnight-and-segments.trk"] = stream([
        dict(lat=52 + 10 / 60, lon=berlin, alt=156, at=None, zero=True),
        dict(lat=52 + 11 / 60, lon=berlin, alt=156, at=utc("2010-12-31 23:59:30")),
        dict(lat=52 + 12 / 60, lon=berlin, alt=156, at=utc("2011-01-01 00:00:00")),
        dict(lat=52 + 13 / 60, lon=berlin, alt=156, at=utc("2011-01-01 00:01:00")),
        dict(lat=52 + 20 / 60, lon=berlin, alt=156, at=utc("2011-01-01 00:10:30"), seg=True),
        dict(lat=52 + 21 / 60, lon=berlin, alt=156, at=utc("2011-01-01 00:11:30"))],
        autoreset=True)
    return streams


def main():
    differ = 0
    for name, text in expected().items():
        golden = FOLDER / (name + ".nmea-out")
        if "--write" in sys.argv:
            golden.write_bytes(text.encode())
        elif golden.read_bytes() != text.encode():
            print("%s differs from what the rules give" % golden.name)
            differ = 1
    return differ


if __name__ == "__main__":
    sys.exit(main())
