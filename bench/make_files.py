"""Writes the benchmark's input files into a folder: an NMEA log, an OziExplorer track and a
track of the program's own layout of about 100 MB each for loading, a track and a log of
1,000,000 points for conversion, and a log of records with many sentences each, which fills the
backlog of a client that does not read, and a KML gx:Track of 1,000,000 points, whose times all
come before its positions."""
import sys
from functools import reduce


def frame(body):
    return "$%s*%02X\r\n" % (body, reduce(lambda a, c: a ^ ord(c), body, 0))


def clock(i):
    return "%02d%02d%02d" % (i // 3600 % 24, i // 60 % 60, i % 60)


def position(i):
    # A slow walk north-east, as minutes of arc in the sentences' form.
    lat, lon = 48 * 60 + 7.038 + i * 0.0005, 11 * 60 + 31.0 + i * 0.0007
    return "%02d%07.4f,N,%03d%07.4f,E" % (lat // 60, lat % 60, lon // 60, lon % 60)


def write_log(path, records=None, megabytes=None, full=True):
    with open(path, "w", newline="") as out:
        i, written = 0, 0
        while (records is not None and i < records) or (megabytes is not None and written < megabytes << 20):
            t, p = clock(i), position(i)
            chunk = frame("GPRMC,%s.00,A,%s,022.4,084.4,230394,,,A" % (t, p))
            chunk += frame("GPGGA,%s.00,%s,1,08,0.9,545.4,M,46.9,M,," % (t, p))
            if full:
                chunk += frame("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1")
                chunk += frame("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45")
                chunk += frame("GPVTG,084.4,T,077.8,M,022.4,N,041.5,K")
            out.write(chunk)
            written += len(chunk)
            i += 1


def write_chatty_log(path, records):
    with open(path, "w", newline="") as out:
        for i in range(records):
            t, p = clock(i), position(i)
            out.write(frame("GPRMC,%s.00,A,%s,022.4,084.4,230394,,,A" % (t, p)))
            for line in range(40):
                out.write(frame("GPGSV,40,%d,160,%02d,40,083,46,%02d,17,308,41,%02d,07,344,39,%02d,22,228,45"
                                % (line + 1, line, line + 40, line + 80, line + 120)))


def write_gx_track(path, points):
    """A KML gx:Track: all its times first, then all its positions."""
    with open(path, "w", newline="") as out:
        out.write('<kml xmlns="http://www.opengis.net/kml/2.2" '
                  'xmlns:gx="http://www.google.com/kml/ext/2.2"><Document><Placemark><gx:Track>\n')
        for i in range(points):
            t = clock(i)
            out.write("<when>2010-05-28T%s:%s:%sZ</when>\n" % (t[:2], t[2:4], t[4:]))
        for i in range(points):
            out.write("<gx:coord>%.6f %.6f %.1f</gx:coord>\n"
                      % (11.5167 + i * 0.000012, 48.1173 + i * 0.00001, 500 + i % 300))
        out.write("</gx:Track></Placemark></Document></kml>\n")


def write_ozi(path, points=None, megabytes=None):
    with open(path, "w", newline="") as out:
        out.write("OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
                  "Reserved 3\r\n0,2,255,Bench,0,0,2,8421376\r\n0\r\n")
        i, written = 0, 0
        while (points is not None and i < points) or (megabytes is not None and written < megabytes << 20):
            line = "%11.6f,%11.6f,%d,%7.1f,%.7f,,\r\n" % (
                48.1173 + i * 0.00001, 11.5167 + i * 0.000012, 1 if i % 50000 == 0 else 0,
                1800 + i % 300, 40230.0 + i / 86400.0)
            out.write(line)
            written += len(line)
            i += 1


def write_own_track(path, megabytes):
    """A track in the program's own download layout, a segment line every 50,000 points."""
    months = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
    with open(path, "w", newline="") as out:
        out.write("I Korvel V1.0.0\r\n# 06.12.2026 12:00:00  Local Time\r\n"
                  "eTrex Legend Software Version 2.41\r\nL  New Header: ACTIVE LOG\r\n")
        i, written = 0, 0
        while written < megabytes << 20:
            lat, lon = 52 * 60 + 30 + i * 0.0006, 13 * 60 + 15 + i * 0.0007
            day, t = 1 + i // 86400 % 28, clock(i)
            line = "%sT  N%02d %07.4f E%03d %07.4f Mon %s %02d %s:%s:%s 2010 ;%d;\r\n" % (
                "N  New Track Segment\r\n" if i % 50000 == 0 else "", lat // 60, lat % 60,
                lon // 60, lon % 60, months[i // (86400 * 28) % 12], day, t[:2], t[2:4], t[4:],
                150 + i % 300)
            out.write(line)
            written += len(line)
            i += 1


if __name__ == "__main__":
    folder = sys.argv[1]
    write_log(folder + "/log_100mb.log", megabytes=100)
    write_ozi(folder + "/track_100mb.plt", megabytes=100)
    write_own_track(folder + "/own_track_100mb.trk", megabytes=100)
    write_ozi(folder + "/track_1m.plt", points=1000000)
    write_log(folder + "/log_1m.log", records=1000000, full=False)
    write_chatty_log(folder + "/chatty.log", records=5000)
    write_gx_track(folder + "/gx_track_1m.kml", points=1000000)
