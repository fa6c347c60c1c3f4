#!/usr/bin/env python3
"""Writes small WAV files into DIR as seeds of fuzz_wav: each layout the reader accepts
(PCM of every width, float, WAVE_FORMAT_EXTENSIBLE, chunks before and after the samples,
a streamed RIFF size of 0) and a few it must refuse, so that the fuzzer starts from both
sides of every check."""
import struct
import sys
from pathlib import Path


def chunk(cid, body, declared=None):
    size = len(body) if declared is None else declared
    return cid + struct.pack("<I", size) + body + (b"\0" if len(body) % 2 else b"")


def fmt(tag, channels, rate, bits):
    align = channels * bits // 8
    return struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)


def extensible(code, channels, rate, bits):
    guid_tail = bytes.fromhex("000000001000800000aa00389b71")
    return fmt(0xFFFE, channels, rate, bits) + struct.pack("<HHIH", 22, bits, 0, code) + guid_tail


def riff(chunks, size=None):
    return b"RIFF" + struct.pack("<I", 4 + len(chunks) if size is None else size) + b"WAVE" + chunks


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    frames = bytes(range(96))
    seeds = {
        "pcm16_mono": riff(chunk(b"fmt ", fmt(1, 1, 22050, 16)) + chunk(b"data", frames)),
        "pcm8_stereo": riff(chunk(b"fmt ", fmt(1, 2, 8000, 8)) + chunk(b"data", frames)),
        "pcm24": riff(chunk(b"fmt ", fmt(1, 1, 44100, 24)) + chunk(b"data", frames)),
        "pcm32_4ch": riff(chunk(b"fmt ", fmt(1, 4, 48000, 32)) + chunk(b"data", frames)),
        "float32": riff(chunk(b"fmt ", fmt(3, 1, 48000, 32)) + chunk(b"data", frames)),
        "float64": riff(chunk(b"fmt ", fmt(3, 2, 48000, 64)) + chunk(b"data", frames)),
        "extensible": riff(chunk(b"fmt ", extensible(1, 2, 44100, 16)) + chunk(b"data", frames)),
        "list_odd_then_data": riff(chunk(b"fmt ", fmt(1, 1, 22050, 16)) + chunk(b"LIST", b"INFOabc")
                                   + chunk(b"data", frames) + chunk(b"id3 ", b"tail")),
        "streamed": riff(chunk(b"fmt ", fmt(1, 1, 22050, 16)) + chunk(b"data", frames), size=0),
        "truncated": riff(chunk(b"fmt ", fmt(1, 1, 22050, 16)) + chunk(b"data", frames, declared=4000)),
        "fmt18_adpcm": riff(chunk(b"fmt ", fmt(2, 1, 22050, 4) + b"\0\0") + chunk(b"data", frames)),
    }
    for name, data in seeds.items():
        (out / (name + ".wav")).write_bytes(data)


if __name__ == "__main__":
    main()
