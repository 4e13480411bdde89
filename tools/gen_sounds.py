#!/usr/bin/python3
"""Synthesises the interface sound effects (WAV) and a short calm music loop (OGG).

Everything comes from oscillators, envelopes and seeded noise, so the output is the
same on every run. Needs oggenc (vorbis-tools) for the music. Run from the
repository root: /usr/bin/python3 tools/gen_sounds.py
"""
import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 22050
SFX = os.path.join("content", "sounds", "ui")
MUSIC = os.path.join("content", "music")


def write_wav(path, samples, rate=RATE, channels=1):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = np.clip(samples, -1.0, 1.0)
    pcm = (data * 32000).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(pcm.tobytes())


def t_axis(seconds, rate=RATE):
    return np.arange(int(seconds * rate)) / rate


def env(t, attack, decay):
    """Linear attack then exponential decay."""
    a = np.clip(t / max(attack, 1e-4), 0, 1)
    return a * np.exp(-np.maximum(t - attack, 0) / decay)


def fade_edges(x, ms=4):
    n = int(RATE * ms / 1000)
    if n and len(x) > 2 * n:
        ramp = np.linspace(0, 1, n)
        x[:n] *= ramp
        x[-n:] *= ramp[::-1]
    return x


def blip(freq, seconds=0.09, bend=1.0):
    t = t_axis(seconds)
    f = freq * (1 + (bend - 1) * t / seconds)
    phase = 2 * np.pi * np.cumsum(f) / RATE
    return fade_edges(0.5 * np.sin(phase) * env(t, 0.004, seconds / 4))


def click():
    rng = np.random.default_rng(11)
    t = t_axis(0.07)
    noise = rng.standard_normal(len(t)) * env(t, 0.001, 0.008) * 0.35
    tone = 0.45 * np.sin(2 * np.pi * 1800 * t) * env(t, 0.001, 0.015)
    return fade_edges(noise + tone)


def whoosh(seconds, rising):
    rng = np.random.default_rng(23 if rising else 29)
    t = t_axis(seconds)
    noise = rng.standard_normal(len(t))
    # A one-pole low-pass whose cut-off sweeps gives the swept-air colour.
    sweep = np.linspace(0.02, 0.25, len(t)) if rising else np.linspace(0.25, 0.02, len(t))
    out = np.zeros_like(noise)
    acc = 0.0
    for i, (n, k) in enumerate(zip(noise, sweep)):
        acc += k * (n - acc)
        out[i] = acc
    shape = np.sin(np.pi * t / seconds) ** 2
    tone_f = np.linspace(300, 900, len(t)) if rising else np.linspace(900, 300, len(t))
    tone = 0.15 * np.sin(2 * np.pi * np.cumsum(tone_f) / RATE)
    return fade_edges((out * 1.4 + tone) * shape * 0.8)


def toggle():
    return np.concatenate([blip(880, 0.05), blip(1320, 0.07)])


def music_loop(seconds=24.0, rate=44100):
    """Slow pad chords with a soft shimmer; ends where it starts so it loops."""
    t = np.arange(int(seconds * rate)) / rate
    chords = [(220.0, 261.63, 329.63), (196.0, 246.94, 293.66),
              (174.61, 220.0, 261.63), (196.0, 246.94, 329.63)]
    per = seconds / len(chords)
    left = np.zeros_like(t)
    right = np.zeros_like(t)
    for i, chord in enumerate(chords):
        start = i * per
        local = t - start
        # Each chord swells in and out over its span with overlap into the next.
        w = np.clip(np.sin(np.pi * np.clip(local / (per * 1.25), 0, 1)), 0, None) ** 1.5
        if i == 0:
            tail = t - seconds
            w += np.clip(np.sin(np.pi * np.clip((tail + per * 1.25) / (per * 1.25), 0, 1)), 0, None) ** 1.5 * (t > seconds - per * 0.25)
        for j, f in enumerate(chord):
            det = 0.6 * (j - 1)
            left += w * (np.sin(2 * np.pi * (f + det) * t) + 0.3 * np.sin(2 * np.pi * 2 * f * t)) * 0.11
            right += w * (np.sin(2 * np.pi * (f - det) * t) + 0.3 * np.sin(2 * np.pi * 2 * f * t + 0.5)) * 0.11
    shimmer = 0.03 * np.sin(2 * np.pi * 1318.5 * t) * (0.5 + 0.5 * np.sin(2 * np.pi * t / 3.0))
    left += shimmer
    right += shimmer * np.cos(2 * np.pi * t / 6.0)
    stereo = np.empty(len(t) * 2)
    stereo[0::2] = left
    stereo[1::2] = right
    return stereo * 0.9, rate


def main():
    write_wav(os.path.join(SFX, "click.wav"), click())
    write_wav(os.path.join(SFX, "hover.wav"), blip(1400, 0.06, 1.15) * 0.6)
    write_wav(os.path.join(SFX, "toggle.wav"), toggle())
    write_wav(os.path.join(SFX, "open.wav"), whoosh(0.35, True))
    write_wav(os.path.join(SFX, "close.wav"), whoosh(0.3, False))
    # Three pitches of one chirp, played as random variants.
    for i, f in enumerate((660, 740, 830)):
        write_wav(os.path.join(SFX, "chirp_%d.wav" % i), blip(f, 0.12, 1.3))

    samples, rate = music_loop()
    os.makedirs(MUSIC, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "calm.wav")
        write_wav(wav, samples, rate=rate, channels=2)
        # A fixed serial number keeps the encoded file identical between runs.
        subprocess.run(["oggenc", "-Q", "-q", "0", "-s", "4711", "--discard-comments",
                        "-o", os.path.join(MUSIC, "calm_orbit.ogg"), wav], check=True)


if __name__ == "__main__":
    main()
