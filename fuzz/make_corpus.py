#!/usr/bin/env python3
"""Writes the committed seed corpus: saved states of every version, VST 2 chunks,
parameter texts and .vstpreset files. Run from anywhere; writes into fuzz/corpus/."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
CLASS_ID = b"D6FAE8EBF87044EF9AAB360BB521FC19"

# dry .. wet (17 doubles), as the "Default" preset roughly holds them.
DOUBLES = [0.7, 0.1, 1.0, 0.376, 0.2, 0.7, 0.8, 0.9, 0.3, 0.5, 0.5, 0.5, 0.8, 0.5, 1.0, 1.0, 0.5]


def state(version, doubles=DOUBLES, variations=(2, 1), bypass=0, path_bypass=(0, 0, 0, 0),
          mod=(0.3, 0.406)):
    data = struct.pack("<Q", version) + struct.pack("<17d", *doubles)
    data += struct.pack("<bbB", variations[0], variations[1], bypass)
    if version >= 3:
        data += bytes(path_bypass)
    if version >= 4:
        data += struct.pack("<2d", *mod)
    return data


def chunk(component, controller=b""):
    return struct.pack("<qq", len(component), len(controller)) + component + controller


def preset(component, extra_entries=()):
    # Header: 'VST3', version 1, class id, offset of the chunk list.
    header_size = 4 + 4 + 32 + 8
    entries = [(b"Comp", header_size, len(component))]
    body = component
    for chunk_id, data in extra_entries:
        entries.append((chunk_id, header_size + len(body), len(data)))
        body += data
    list_offset = header_size + len(body)
    out = b"VST3" + struct.pack("<i", 1) + CLASS_ID + struct.pack("<q", list_offset) + body
    out += b"List" + struct.pack("<i", len(entries))
    for chunk_id, offset, size in entries:
        out += chunk_id + struct.pack("<qq", offset, size)
    return out


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    edges = [0.0, 1.0, 0.5, 0.49999999999999994, 0.5000000000000001] * 4
    streams = {}
    for version in range(6):
        streams["v%d" % version] = state(version)
    streams["v5-edges"] = state(5, edges[:17], (11, 4), 1, (1, 0, 1, 0), (0.0, 1.0))
    streams["v5-out-of-range"] = state(5, [2.0, -1.0] + DOUBLES[2:], (-5, 99), 7, (2, 255, 0, 1))
    streams["v5-nan"] = state(5, [float("nan")] + DOUBLES[1:])
    streams["v0-edges"] = state(0, edges[:17], (0, 0), 0)
    streams["v6-unknown"] = state(6)
    streams["v5-truncated"] = state(5)[:100]
    for name, data in streams.items():
        write("state_stream", name, data)

    write("vst2_chunk", "v5", chunk(state(5)))
    write("vst2_chunk", "v2", chunk(state(2)))
    write("vst2_chunk", "v5-with-controller", chunk(state(5), b"\x01\x02\x03\x04"))
    write("vst2_chunk", "sizes-too-large", struct.pack("<qq", 1 << 40, 0) + state(5))
    write("vst2_chunk", "sizes-negative", struct.pack("<qq", -1, 168) + state(5))
    write("vst2_chunk", "header-only", struct.pack("<qq", 0, 0))

    texts = ["0", "-3.5", "-3.5 dB", "12", "+12 dB", "-24", "-inf", "-oo", "1,5", "1.5e3",
             "4.5 s", "20 s", "0.2", "50 %", "100", "22000", "22000 Hz", "20 Hz", "1000",
             "Variation 3", "Variation 12", "5", "On", "Off", "1", "nan", "inf", "1e308",
             "-1e308", "0x1p-1074", "   7   ", "", "\u00e9\u00e8 12", "9" * 200]
    for i, text in enumerate(texts):
        write("parameter_text", "text%02d" % i, text.encode("utf-16-le"))
    write("parameter_text", "lone-surrogates", struct.pack("<4H", 0xD800, 0x0031, 0xDC00, 0x0032))

    write("preset_file", "v5", preset(state(5)))
    write("preset_file", "v3", preset(state(3)))
    write("preset_file", "with-info", preset(state(5), [(b"Info", b"<?xml version=\"1.0\"?><MetaInfo/>")]))
    write("preset_file", "empty-state", preset(b""))
    write("preset_file", "truncated", preset(state(5))[:60])
    # A chunk list whose offset and size are both huge: their sum overflowed in the reader.
    huge = (1 << 62) + (1 << 61)
    body = state(5)
    write("preset_file", "offset-overflow",
          b"VST3" + struct.pack("<i", 1) + CLASS_ID + struct.pack("<q", 48 + len(body)) + body +
          b"List" + struct.pack("<i", 1) + b"Comp" + struct.pack("<qq", huge, huge))
    return 0


if __name__ == "__main__":
    sys.exit(main())
