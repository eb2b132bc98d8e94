#!/usr/bin/env python3
"""Writes the example files of this folder.

    python3 examples/generate.py [path/to/ostinel]

drum-groove.mid and melody.mid are written by this script (standard library only, so the
bytes never depend on a MIDI package). The two presets are built from the JSON sources
beside them with `ostinel build`; give the tool's path when it is not build/tools/ostinel/ostinel.
The outputs are committed, so this only needs running after changing it or a JSON source.
"""
import pathlib
import struct
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
PPQ = 480


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + vlq(len(data)) + data


def track_chunk(events):
    """events: (tick, bytes) in any order; equal ticks keep their order. Channel messages use
    running status, as most MIDI files do."""
    body = b""
    last_tick = 0
    running = None
    for tick, message in sorted(events, key=lambda e: e[0]):
        body += vlq(tick - last_tick)
        last_tick = tick
        status = message[0]
        if status < 0xF0 and status == running:
            body += message[1:]
        else:
            body += message
            running = status if status < 0xF0 else None
    body += vlq(0) + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(body)) + body


def smf(fmt, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), PPQ)
    return header + b"".join(tracks)


def note(events, tick, channel, key, velocity, length):
    events.append((tick, bytes([0x90 | channel, key, velocity])))
    events.append((tick + length, bytes([0x80 | channel, key, 64])))


def drum_groove():
    """Two bars of a General MIDI rock groove on channel 10 at 100 bpm."""
    bar = 4 * PPQ
    eighth = PPQ // 2
    conductor = [
        (0, meta(0x03, b"Drum groove")),
        (0, meta(0x51, (600000).to_bytes(3, "big"))),
        (0, meta(0x58, bytes([4, 2, 24, 8]))),
        (2 * bar, meta(0x01, b"end")),
    ]
    drums = [(0, meta(0x03, b"Drums")), (0, bytes([0xB9, 7, 100]))]
    ch = 9
    for b in range(2):
        start = b * bar
        for step in range(8):
            tick = start + step * eighth
            last = b == 1 and step == 7
            # Hi-hat on every eighth, accented on the beat; open on the very last one.
            note(drums, tick, ch, 46 if last else 42, 90 if step % 2 == 0 else 60, eighth - 20)
            if step in (0, 3, 4):
                note(drums, tick, ch, 36, 110, 120)
            if step in (2, 6):
                note(drums, tick, ch, 38, 100, 120)
        if b == 0:
            note(drums, start, ch, 49, 100, bar)
    return smf(1, [track_chunk(conductor), track_chunk(drums)])


def melody():
    """A short melody on channel 1 at 90 bpm in one track (format 0), with a program change
    and note-offs written as note-ons of velocity 0."""
    events = [
        (0, meta(0x03, b"Melody")),
        (0, meta(0x51, (666667).to_bytes(3, "big"))),
        (0, meta(0x58, bytes([4, 2, 24, 8]))),
        (0, bytes([0xC0, 0])),
    ]
    tunes = [(60, 1), (64, 1), (67, 1), (64, 1), (65, 1), (69, 1), (67, 2)]
    tick = 0
    for key, beats in tunes:
        length = beats * PPQ
        events.append((tick, bytes([0x90, key, 96])))
        events.append((tick + length - 30, bytes([0x90, key, 0])))
        tick += length
    return smf(0, [track_chunk(events)])


def main():
    tool = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        HERE.parent / "build" / "tools" / "ostinel" / "ostinel"
    (HERE / "drum-groove.mid").write_bytes(drum_groove())
    (HERE / "melody.mid").write_bytes(melody())
    for name in ("gm-to-8-pads", "harmony-thirds"):
        subprocess.run([str(tool), "build", str(HERE / f"{name}.json"),
                        "-o", str(HERE / f"{name}.quorvatp")], check=True)


if __name__ == "__main__":
    main()
