#!/usr/bin/env python3
"""Writes the fuzz seed corpora: small MIDI files, tag files and profiles, valid and deliberately
broken, each exercising one feature or one kind of damage the reader must survive. Run from
anywhere; the files go to midi_reader/, tag_file/ and profile/ beside this script."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def vlq(v):
    out = [v & 0x7F]
    v >>= 7
    while v:
        out.insert(0, 0x80 | (v & 0x7F))
        v >>= 7
    return bytes(out)


def chunk(tag, body):
    return tag + struct.pack(">I", len(body)) + body


def header(fmt, ntracks, division, length=6):
    return b"MThd" + struct.pack(">IHHH", length, fmt, ntracks, division)


def track(body):
    return chunk(b"MTrk", body)


EOT = b"\x00\xff\x2f\x00"
SCALE = b"".join(vlq(0 if i == 0 else 96) + bytes([0x90, k, 100]) + vlq(96) + bytes([0x80, k, 64])
                 for i, k in enumerate([60, 62, 64, 65]))
RUNNING = b"\x00\x90\x3c\x64\x60\x3c\x00\x00\xff\x05\x02la\x00\x3e\x64\x00\xf0\x03\x7e\x01\xf7\x60\x3e\x00"


def tempo(delta, us):
    return vlq(delta) + b"\xff\x51\x03" + us.to_bytes(3, "big")


def riff(chunks, pad=True):
    body = b"RMID"
    for tag, data in chunks:
        body += tag + struct.pack("<I", len(data)) + data
        if pad and len(data) % 2:
            body += b"\x00"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def smf0(events, division=96):
    return header(0, 1, division) + track(events)


seeds = {
    "valid-format0.mid": smf0(SCALE + EOT),
    "valid-format1-tempo.mid": header(1, 3, 480) + track(tempo(0, 400000) + tempo(960, 250000) + EOT)
    + track(SCALE + EOT) + track(b"\x00\xc1\x05\x10\xe1\x00\x40" + SCALE.replace(b"\x90", b"\x91") + EOT),
    "valid-format2.mid": header(2, 2, 96) + track(SCALE + EOT) + track(SCALE + EOT),
    "valid-smpte.mid": smf0(SCALE + EOT, division=0xE728),
    "valid-smpte-dropframe.mid": smf0(SCALE + EOT, division=0xE350),
    "valid-rmid.rmi": riff([(b"INFO", b"odd"), (b"data", smf0(SCALE + EOT))]),
    "rmid-no-pad.rmi": riff([(b"INFO", b"odd"), (b"data", smf0(SCALE + EOT))], pad=False),
    "rmid-data-too-long.rmi": riff([(b"data", smf0(SCALE + EOT))])[:-6],
    "valid-karaoke.kar": header(1, 2, 96) + track(b"\x00\xff\x01\x07@TTitle\x60\xff\x01\x03/Ma\x30\xff\x01\x02ry" + EOT)
    + track(SCALE + EOT),
    "running-status-across-meta-sysex.mid": smf0(RUNNING + EOT),
    "sysex-packets.mid": smf0(b"\x00\xf0\x02\x43\x10\x05\xf7\x02\x4c\xf7\x00\xf7\x01\xf8" + EOT),
    "eot-cut-short.mid": smf0(SCALE + EOT)[:-1],
    "track-length-past-end.mid": header(0, 1, 96) + b"MTrk" + struct.pack(">I", 4000) + SCALE + EOT,
    "junk-before-header.mid": bytes(128) + smf0(SCALE + EOT),
    "unknown-chunk-and-junk.mid": header(1, 2, 96) + chunk(b"Junk", b"abc") + track(SCALE + EOT) + b"\x00\x13"
    + track(SCALE + EOT) + b"trailing",
    "stray-system-messages.mid": smf0(b"\x00\x90\x3c\x64\x00\xf1\x7f\x00\xf2\x01\x02\x00\xf6\x00\xfe\x10\x3e\x64" + EOT),
    "vlq-five-bytes.mid": smf0(b"\x00\x90\x3c\x64\x81\x81\x81\x81\x01\x3e\x64" + EOT),
    "data-without-status.mid": smf0(b"\x00\x3c\x64" + SCALE + EOT),
    "header-length-wrong.mid": header(0, 1, 96, length=0x7FFFFFFF) + track(SCALE + EOT),
    "header-length-long.mid": header(0, 1, 96, length=8) + b"\xaa\xbb" + track(SCALE + EOT),
    "division-zero.mid": smf0(SCALE + EOT, division=0),
    "no-tracks.mid": header(0, 0, 96),
    "tempo-changes.mid": smf0(b"".join(tempo(1 + i % 5, 100000 + 7919 * i) for i in range(40)) + SCALE + EOT),
    "meta-past-track.mid": smf0(SCALE + b"\x00\xff\x01\x40abc"),
    "wrong-track-count.mid": header(1, 5, 96) + track(SCALE + EOT),
    "zero-length-notes.mid": header(1, 2, 96) + track(b"\x00\x99\x24\x64\x00\x89\x24\x40" + EOT)
    + track(b"\x00\x89\x24\x40\x00\x99\x24\x64" + EOT),
}



def record(flag, path, fill=b"\0"):
    """A tag record: the flag, little-endian, then the path ended by a zero byte in 256 bytes."""
    body = path + b"\0"
    return struct.pack("<I", flag) + body + fill * (256 - len(body))


tag_seeds = {
    "one-played.shf": record(1, b"/m/a.mid"),
    "names-in-other-cases.shf": record(1, b"/m/A.MID") + record(7, b"/m/x/a.mid") + record(0, b"/M/b.kar")
    + record(0xFFFFFFFF, b"/M/B.KAR"),
    "later-record-wins.shf": record(1, b"/m/b.kar") + record(0, b"/m/B.Kar") + record(1, b"/m/b.kar"),
    "root-and-no-folder.shf": record(1, b"/song.rmi") + record(1, b"c.mid") + record(1, b"/"),
    "not-utf8.shf": record(1, b"/m/\xe9.mid") + record(1, b"/m/\xc3\xa9.mid"),
    "junk-after-zero.shf": record(1, b"/m/a.mid", fill=b"\xaa") + record(1, b"/m/x/A.MID", fill=b"z"),
    "no-zero-byte.shf": struct.pack("<I", 1) + b"/m/a.mid" + b"a" * 248 + record(1, b"/m/b.kar"),
    "longest-path.shf": record(1, b"/m/" + b"n" * 248 + b".mid") + record(1, b"/m/a.mid"),
    "short-tail.shf": record(1, b"/m/a.mid") + record(1, b"/m/b.kar")[:259],
    "unknown-songs.shf": b"".join(record(i % 2, b"/other/%d.mid" % i) for i in range(12)) + record(1, b"/m/a.mid"),
}

profile_seeds = {
    "defaults.ini": b"[SHFConfig]\nAutoplay=1\nIntro=0\nIntroLength=20\nPlayStile=0\nSubfolders=1\n"
    b"AllowRepetition=1\nSaveFolder=C:\\BESTMIDI\nRunHidden=0\nSCInitMode=0\nSCInitFile=\n"
    b"DeleteFolder=C:\\BADMIDI\nUseTaglist=0\nSoundFont=\n",
    "hand-edited.ini": b"\xef\xbb\xbf; kept by hand\r\n  [ shfconfig ] trailing\r\n intro = 1 \r\n"
    b"IntroLength=-30x\r\nSaveFolder=\"  /home/u/best  \"\r\nSCInitFile='/a b.mid'\r\nNoEquals\r\n",
    "two-sections.ini": b"[Other]\nAutoplay=0\n[SHFConfig]\nSubfolders=0\n\n\n[Other]\nUseTaglist=1\n"
    b"[SHFConfig]\nUseTaglist=1\n",
    "keys-outside-sections.ini": b"Autoplay=0\n=value\n[\nIntro=1\n[SHFConfig\nPlayStile=4294967297\n",
    "empty-values.ini": b"[SHFConfig]\nSaveFolder=\nIntroLength=\nDeleteFolder=\"\"\nRunHidden=   \n",
    "no-final-newline.ini": b"[SHFConfig]\r\nAutoplay=0",
}

for folder, files in (("midi_reader", seeds), ("tag_file", tag_seeds), ("profile", profile_seeds)):
    out = os.path.join(HERE, folder)
    os.makedirs(out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print(f"{len(files)} seeds in {out}")
