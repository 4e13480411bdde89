#!/usr/bin/python3
"""Synthesises every sound effect (WAV) and music loop (OGG) of the game and writes the
two catalogues that name them, content/config/sfx.xml and content/config/music.xml.

Everything comes from oscillators, envelopes, simple filters and seeded noise, so the
output is the same on every run. Needs numpy and oggenc (vorbis-tools). Run from the
repository root: /usr/bin/python3 tools/gen_sounds.py
"""
import math
import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 22050
SOUNDS = os.path.join("content", "sounds")
MUSIC = os.path.join("content", "music")
CONFIG = os.path.join("content", "config")


# --------------------------------------------------------------------------- basics

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


def normalise(x, peak=0.8):
    m = np.max(np.abs(x))
    return x * (peak / m) if m > 0 else x


def sweep_phase(freqs, rate=RATE):
    """Phase of an oscillator whose frequency follows the given per-sample curve."""
    return 2 * np.pi * np.cumsum(freqs) / rate


def glide(f0, f1, n, curve=1.0):
    u = np.linspace(0, 1, n) ** curve
    return f0 + (f1 - f0) * u


def noise(seconds, seed):
    return np.random.default_rng(seed).standard_normal(int(seconds * RATE))


def lowpass(x, k):
    """One-pole low-pass; k (0..1, scalar or per sample) is the smoothing step."""
    ks = np.broadcast_to(np.asarray(k, dtype=float), x.shape)
    out = np.empty_like(x)
    acc = 0.0
    for i in range(len(x)):
        acc += ks[i] * (x[i] - acc)
        out[i] = acc
    return out


def resonator(x, freq, q, rate=RATE):
    """Two-pole band-pass around freq (a scalar or a per-sample curve)."""
    fs = np.broadcast_to(np.asarray(freq, dtype=float), x.shape)
    out = np.empty_like(x)
    y1 = y2 = 0.0
    for i in range(len(x)):
        w = 2 * math.pi * fs[i] / rate
        r = math.exp(-w / (2 * q))
        y = (1 - r) * x[i] + 2 * r * math.cos(w) * y1 - r * r * y2
        out[i] = y
        y2, y1 = y1, y
    return out


def blip(freq, seconds=0.09, bend=1.0, decay=None):
    t = t_axis(seconds)
    f = freq * (1 + (bend - 1) * t / seconds)
    return fade_edges(0.5 * np.sin(sweep_phase(f)) * env(t, 0.004, decay or seconds / 4))


def bell(freq, seconds, decay):
    """Struck metal: a few inharmonic partials that die away at different rates."""
    t = t_axis(seconds)
    out = np.zeros_like(t)
    for ratio, amp, d in ((1.0, 1.0, 1.0), (2.76, 0.4, 0.5), (5.4, 0.2, 0.3), (2.0, 0.3, 0.7)):
        out += amp * np.sin(2 * np.pi * freq * ratio * t) * env(t, 0.002, decay * d)
    return fade_edges(out * 0.3)


def sequence(parts, gap=0.0):
    """Concatenates sounds with a silent gap between them."""
    pad = np.zeros(int(gap * RATE))
    out = []
    for p in parts:
        out.extend([p, pad])
    return np.concatenate(out[:-1]) if out else np.zeros(0)


def mix(*parts):
    n = max(len(p) for p in parts)
    out = np.zeros(n)
    for p in parts:
        out[:len(p)] += p
    return out


def at(seconds, x, total):
    out = np.zeros(int(total * RATE))
    start = int(seconds * RATE)
    end = min(len(out), start + len(x))
    out[start:end] = x[:end - start]
    return out


# ------------------------------------------------------------------ interface sounds

def click():
    rng = np.random.default_rng(11)
    t = t_axis(0.07)
    hiss = rng.standard_normal(len(t)) * env(t, 0.001, 0.008) * 0.35
    tone = 0.45 * np.sin(2 * np.pi * 1800 * t) * env(t, 0.001, 0.015)
    return fade_edges(hiss + tone)


def whoosh(seconds, rising):
    t = t_axis(seconds)
    n = noise(seconds, 23 if rising else 29)
    # A one-pole low-pass whose cut-off sweeps gives the swept-air colour.
    sweep = np.linspace(0.02, 0.25, len(t)) if rising else np.linspace(0.25, 0.02, len(t))
    out = lowpass(n, sweep)
    shape = np.sin(np.pi * t / seconds) ** 2
    tone_f = np.linspace(300, 900, len(t)) if rising else np.linspace(900, 300, len(t))
    tone = 0.15 * np.sin(sweep_phase(tone_f))
    return fade_edges((out * 1.4 + tone) * shape * 0.8)


def toggle():
    return np.concatenate([blip(880, 0.05), blip(1320, 0.07)])


def menu_click():
    t = t_axis(0.08)
    body = np.sin(sweep_phase(glide(2400, 1400, len(t)))) * env(t, 0.001, 0.012)
    tick = noise(0.08, 41) * env(t, 0.0005, 0.003) * 0.4
    return fade_edges(0.55 * body + tick)


def menu_over():
    t = t_axis(0.07)
    tone = np.sin(2 * np.pi * 2600 * t) + 0.3 * np.sin(2 * np.pi * 3900 * t)
    return fade_edges(0.22 * tone * env(t, 0.006, 0.018))


def flyby():
    """A ship passing the station: rising then falling roar with a Doppler whine."""
    seconds = 2.6
    t = t_axis(seconds)
    u = t / seconds
    closeness = np.exp(-((u - 0.5) / 0.18) ** 2)
    roar = lowpass(noise(seconds, 53), 0.03 + 0.2 * closeness)
    whine = np.sin(sweep_phase(np.where(u < 0.5, 620.0, 410.0) + 60 * np.tanh((0.5 - u) * 20)))
    pan_hum = np.sin(sweep_phase(glide(95, 70, len(t))))
    out = (roar * 2.2 + 0.25 * whine + 0.3 * pan_hum) * closeness
    return fade_edges(normalise(out, 0.7), 20)


def arm_move():
    """A servo arm: geared motor whine up to speed, a run, a stop with a clank."""
    seconds = 0.75
    t = t_axis(seconds)
    speed = np.clip(t / 0.15, 0, 1) * np.clip((0.6 - t) / 0.1, 0, 1)
    f = 180 + 160 * speed
    motor = np.sign(np.sin(sweep_phase(f))) * 0.25 + 0.4 * np.sin(sweep_phase(f * 3.01))
    motor = lowpass(motor * speed, 0.3)
    clank = at(0.6, bell(330, 0.15, 0.05) + noise(0.15, 61)[:int(0.15 * RATE)] * env(t_axis(0.15), 0.001, 0.01) * 0.3,
               seconds)
    return fade_edges(normalise(motor + clank, 0.6))


def shield_up():
    """Energy field closing: a rising shimmer of detuned partials."""
    seconds = 0.8
    t = t_axis(seconds)
    f = glide(220, 880, len(t), 0.6)
    out = np.zeros_like(t)
    for ratio, det in ((1.0, 0.0), (1.5, 3.0), (2.0, -4.0), (3.0, 7.0)):
        out += np.sin(sweep_phase(f * ratio + det))
    trem = 0.7 + 0.3 * np.sin(2 * np.pi * 18 * t)
    return fade_edges(normalise(out * trem * env(t, 0.25, 0.3), 0.55), 10)


# ----------------------------------------------------------------------- level cues

def chord_arpeggio(freqs, step, hold, decay, kind="bell"):
    parts = []
    total = step * (len(freqs) - 1) + hold
    for i, f in enumerate(freqs):
        note = bell(f, hold, decay) if kind == "bell" else blip(f, hold, 1.0, decay)
        parts.append(at(i * step, note, total))
    return mix(*parts)


def ui_boot():
    """Systems powering up: a low hum that rises into a three-note ready chime."""
    seconds = 1.3
    t = t_axis(seconds)
    hum_f = glide(55, 110, len(t), 0.5)
    hum = (np.sin(sweep_phase(hum_f)) + 0.4 * np.sin(sweep_phase(hum_f * 2))) * np.clip(t / 0.4, 0, 1)
    hum *= np.clip((seconds - t) / 0.5, 0, 1) * 0.35
    chime = at(0.55, chord_arpeggio([523.25, 659.25, 783.99], 0.12, 0.5, 0.18), seconds)
    return fade_edges(normalise(hum + chime, 0.7), 10)


def tower_placed():
    seconds = 0.45
    t = t_axis(seconds)
    thunk = np.sin(sweep_phase(glide(160, 60, len(t)))) * env(t, 0.002, 0.06)
    clamp = at(0.05, bell(880, 0.35, 0.12), seconds)
    return fade_edges(normalise(thunk + 0.6 * clamp, 0.75))


def tower_selected():
    return normalise(np.concatenate([blip(1046, 0.045), blip(1568, 0.08)]), 0.5)


def tower_sold():
    notes = [blip(f, 0.07, 0.97) for f in (1318, 1046, 880, 659)]
    return normalise(sequence(notes, 0.01), 0.55)


def tower_upgraded():
    seconds = 0.7
    sweep = np.sin(sweep_phase(glide(300, 1200, int(0.25 * RATE)))) * env(t_axis(0.25), 0.01, 0.1) * 0.4
    return normalise(mix(sweep, at(0.15, chord_arpeggio([659.25, 830.6, 987.8, 1318.5], 0.07, 0.4, 0.15), seconds)),
                     0.65)


def wave_finished():
    return normalise(chord_arpeggio([587.3, 880.0, 1174.7], 0.16, 0.7, 0.25), 0.6)


def new_ship():
    """Contact alert: two alternating tones, twice."""
    a, b = blip(740, 0.13, 1.0, 0.08), blip(988, 0.13, 1.0, 0.08)
    return normalise(sequence([a, b, a, b], 0.02), 0.55)


def checkpoint_saved():
    t = t_axis(0.25)
    tape = np.sin(sweep_phase(glide(400, 1600, len(t)))) * env(t, 0.01, 0.08) * 0.3
    return normalise(mix(tape, at(0.12, chord_arpeggio([784.0, 1046.5], 0.1, 0.5, 0.2), 0.8)), 0.6)


def checkpoint_restored():
    """Time rolling back: a falling sweep with a warble, then the same chime."""
    seconds = 0.6
    t = t_axis(seconds)
    f = glide(1600, 300, len(t)) * (1 + 0.05 * np.sin(2 * np.pi * 14 * t))
    sweep = np.sin(sweep_phase(f)) * env(t, 0.02, 0.25) * 0.4
    return normalise(mix(sweep, at(0.45, chord_arpeggio([1046.5, 784.0], 0.1, 0.5, 0.2), 1.1)), 0.6)


def level_victory():
    """A short major fanfare that settles on a held chord."""
    seconds = 2.2
    notes = [(0.0, 523.25, 0.18), (0.18, 659.25, 0.18), (0.36, 783.99, 0.18), (0.54, 1046.5, 1.4)]
    out = np.zeros(int(seconds * RATE))
    for start, f, length in notes:
        t = t_axis(length + 0.5)
        tone = (np.sin(2 * np.pi * f * t) + 0.5 * np.sin(2 * np.pi * 2 * f * t) + 0.25 * np.sin(2 * np.pi * 3 * f * t))
        out += at(start, tone * env(t, 0.01, length * 0.6), seconds)
    pad_t = t_axis(1.6)
    pad = sum(np.sin(2 * np.pi * f * pad_t) for f in (261.63, 329.63, 392.0)) * env(pad_t, 0.3, 0.6)
    out += at(0.54, pad * 0.5, seconds)
    return fade_edges(normalise(out, 0.75), 20)


def level_defeat():
    """A falling minor line over a sinking drone."""
    seconds = 2.4
    out = np.zeros(int(seconds * RATE))
    for start, f in ((0.0, 392.0), (0.3, 349.2), (0.6, 311.1), (0.9, 261.6)):
        t = t_axis(1.2)
        tone = np.sin(2 * np.pi * f * t) + 0.3 * np.sin(2 * np.pi * 2 * f * t)
        out += at(start, tone * env(t, 0.02, 0.35), seconds)
    t = t_axis(seconds)
    drone = np.sin(sweep_phase(glide(98, 65, len(t)))) * env(t, 0.3, 1.0) * 0.8
    return fade_edges(normalise(out + drone, 0.75), 30)


def level_paused():
    return normalise(sequence([blip(880, 0.08, 0.9), blip(587, 0.12, 0.9)], 0.02), 0.5)


def return_to_bridge():
    return normalise(mix(whoosh(0.4, False), at(0.3, chord_arpeggio([659.25, 987.8], 0.08, 0.3, 0.1), 0.7)), 0.6)


def power_up_collected():
    seconds = 0.6
    parts = [at(i * 0.05, blip(f, 0.12, 1.1, 0.05), seconds) for i, f in enumerate((880, 1108, 1318, 1760, 2217))]
    return normalise(mix(*parts), 0.55)


def power_up_entry():
    seconds = 0.9
    t = t_axis(seconds)
    f = 500 + 200 * np.sin(2 * np.pi * 6 * t)
    return fade_edges(normalise(np.sin(sweep_phase(f)) * env(t, 0.1, 0.35), 0.5), 10)


# ---------------------------------------------------------------- shots and impacts

def player_shoot():
    t = t_axis(0.12)
    pew = np.sin(sweep_phase(glide(1800, 500, len(t)))) * env(t, 0.002, 0.035)
    return fade_edges(normalise(pew, 0.45))


def laser_zap():
    """The scout towers' instant hit: a bright falling zap with a buzzy edge."""
    t = t_axis(0.16)
    f = glide(2600, 700, len(t), 0.5)
    body = np.sin(sweep_phase(f)) + 0.35 * np.sign(np.sin(sweep_phase(f * 0.5)))
    return fade_edges(normalise(lowpass(body, 0.5) * env(t, 0.002, 0.045), 0.45))


def laser_beam():
    """A longer, thinner beam that fans out over several targets."""
    t = t_axis(0.3)
    f = 1400 + 300 * np.sin(2 * np.pi * 30 * t)
    body = np.sin(sweep_phase(f)) + 0.5 * np.sin(sweep_phase(f * 1.5))
    return fade_edges(normalise(body * env(t, 0.005, 0.09), 0.4))


def pulse_fire():
    """A pulse tower's hit; restarted every frame while it fires, so it reads as a hum."""
    t = t_axis(0.22)
    f = 110 + 20 * np.sin(2 * np.pi * 40 * t)
    buzz = np.sign(np.sin(sweep_phase(f))) * 0.5 + np.sin(sweep_phase(f * 4.02)) * 0.4
    crackle = noise(0.22, 71) * 0.25
    out = lowpass(buzz + crackle, 0.25) * env(t, 0.004, 0.09)
    return fade_edges(normalise(out, 0.45))


def slow_fire():
    """The slowing shot: a cold falling warble."""
    t = t_axis(0.35)
    f = glide(1200, 300, len(t)) * (1 + 0.08 * np.sin(2 * np.pi * 25 * t))
    out = np.sin(sweep_phase(f)) + 0.3 * np.sin(sweep_phase(f * 2.5))
    return fade_edges(normalise(out * env(t, 0.005, 0.12), 0.45))


def missile_launch():
    seconds = 0.6
    t = t_axis(seconds)
    thump = np.sin(sweep_phase(glide(120, 45, len(t)))) * env(t, 0.002, 0.05)
    hiss = lowpass(noise(seconds, 83), glide(0.5, 0.05, len(t))) * env(t, 0.01, 0.2)
    return fade_edges(normalise(thump + hiss * 1.5, 0.6), 10)


def ship_explode(seed):
    seconds = 1.1
    t = t_axis(seconds)
    crack = lowpass(noise(seconds, seed), glide(0.6, 0.02, len(t), 0.3)) * env(t, 0.001, 0.25)
    rumble = np.sin(sweep_phase(glide(70 + seed % 7 * 5, 30, len(t)))) * env(t, 0.01, 0.35)
    return fade_edges(normalise(crack * 2.0 + rumble * 0.7, 0.75), 10)


def ship_hit(freq):
    t = t_axis(0.1)
    ping = bell(freq, 0.1, 0.03)
    tick = noise(0.1, int(freq))[:len(t)] * env(t, 0.0005, 0.004) * 0.5
    return fade_edges(normalise(ping + tick, 0.4))


# ----------------------------------------------------------------------- voice cues

# Vowel formants (F1, F2) in Hz; enough to give each syllable its own colour.
VOWELS = {"a": (730, 1090), "e": (530, 1840), "i": (300, 2200), "o": (570, 840),
          "u": (300, 870), "er": (490, 1350)}


def syllable(vowel, seconds, pitch, fall):
    t = t_axis(seconds)
    f0 = pitch * (1 - fall * t / seconds)
    # A band-limited buzz stands in for the voice source.
    src = np.zeros_like(t)
    phase = sweep_phase(f0)
    for h in range(1, 16):
        src += np.sin(h * phase) / h
    f1, f2 = VOWELS[vowel]
    voiced = resonator(src, f1, 6.0) + 0.7 * resonator(src, f2, 9.0)
    shape = np.clip(t / 0.02, 0, 1) * np.clip((seconds - t) / 0.03, 0, 1)
    return voiced * shape


def radio_cue(words, seed, pitch=150.0):
    """A radio call: squelch, syllables through a narrow, slightly overdriven band, squelch.

    words: list of (vowel, length in seconds, pitch fall) per syllable.
    """
    squelch_len = 0.05
    head = noise(squelch_len, seed) * env(t_axis(squelch_len), 0.001, 0.015)
    body = sequence([syllable(v, d, pitch * (1.06 if i == 0 else 1.0), fall)
                     for i, (v, d, fall) in enumerate(words)], 0.035)
    tail = noise(0.09, seed + 1) * env(t_axis(0.09), 0.001, 0.03)
    voice = normalise(body, 1.0)
    out = np.concatenate([head * 0.6, np.zeros(int(0.02 * RATE)), voice, tail * 0.5])
    # The radio band: no lows, no highs, some grit and a steady hiss.
    band = lowpass(out, 0.45) - lowpass(out, 0.06)
    band = np.tanh(band * 2.5)
    hiss = noise(len(band) / RATE + 1, seed + 2)[:len(band)] * 0.03
    return fade_edges(normalise(band + hiss, 0.7))


VOICE_CUES = {
    "SFX_VO_YES": [("e", 0.22, 0.25)],
    "SFX_VO_YES_SIR": [("e", 0.18, 0.1), ("er", 0.26, 0.3)],
    "SFX_VO_ROGER": [("o", 0.16, 0.0), ("er", 0.24, 0.3)],
    "SFX_VO_HURRYUP": [("er", 0.13, 0.0), ("i", 0.1, 0.0), ("u", 0.2, 0.25)],
    "SFX_VO_MISSED_OPPORTUNITY": [("i", 0.1, 0.0), ("i", 0.1, 0.0), ("a", 0.1, 0.0),
                                  ("er", 0.12, 0.0), ("u", 0.1, 0.0), ("i", 0.08, 0.0),
                                  ("i", 0.2, 0.35)],
}


# --------------------------------------------------------------------------- music

def loop_render(seconds, rate, voices):
    """Renders voices (each a function of (t, loop length) -> samples) one loop long.

    Each voice is rendered over a loop and a tail; the tail is folded back onto the start
    so notes ringing over the loop point carry on seamlessly when the loop restarts.
    """
    tail = 4.0
    t = np.arange(int((seconds + tail) * rate)) / rate
    out = np.zeros_like(t)
    for v in voices:
        out += v(t, seconds)
    n = int(seconds * rate)
    looped = out[:n].copy()
    looped[:len(out) - n] += out[n:]
    return looped


def notes_voice(events, timbre, rate):
    """events: (start s, frequency, length s, amplitude)."""
    def render(t, _):
        out = np.zeros_like(t)
        for start, f, length, amp in events:
            i0 = int(start * rate)
            i1 = min(len(t), i0 + int((length + 2.0) * rate))
            local = t[i0:i1] - start
            out[i0:i1] += amp * timbre(f, local, length)
        return out
    return render


def soft_bell(f, t, length):
    return (np.sin(2 * np.pi * f * t) + 0.25 * np.sin(2 * np.pi * 2 * f * t)) * env(t, 0.01, length * 0.5)


def pad_tone(f, t, length):
    rise = np.clip(t / (length * 0.4), 0, 1)
    fall = np.clip((length + 1.5 - t) / 1.5, 0, 1)
    tone = np.sin(2 * np.pi * f * t) + 0.5 * np.sin(2 * np.pi * (f * 1.003) * t) + 0.2 * np.sin(2 * np.pi * 2 * f * t)
    return tone * rise * fall * (t < length + 1.5)


def pluck_bass(f, t, length):
    return (np.sin(2 * np.pi * f * t) + 0.3 * np.sin(2 * np.pi * 2 * f * t)) * env(t, 0.005, min(length, 0.4))


def hz(note):
    """Note number with A4 = 69."""
    return 440.0 * 2 ** ((note - 69) / 12)


def drift_line(rate=RATE):
    """Level loop: a slow minor pulse in the bass under a sparse arpeggio and a pad."""
    bar = 3.0
    chords = [(57, 60, 64), (53, 57, 60), (55, 59, 62), (52, 55, 59)]  # Am F G Em
    seconds = bar * len(chords) * 2
    bass, arp, pad = [], [], []
    for i in range(len(chords) * 2):
        root, third, fifth = chords[i % len(chords)]
        start = i * bar
        pad.append((start, hz(root), bar, 0.1))
        pad.append((start, hz(fifth), bar, 0.07))
        for beat in range(4):
            bass.append((start + beat * bar / 4, hz(root - 24), bar / 4, 0.35 if beat == 0 else 0.22))
        pattern = (root + 12, third + 12, fifth + 12, third + 24) if i % 2 == 0 else (fifth + 12, root + 24, third + 12, fifth)
        for k, n in enumerate(pattern):
            arp.append((start + k * bar / 4 + bar / 8, hz(n), 0.6, 0.13))
    return loop_render(seconds, rate, [notes_voice(bass, pluck_bass, rate), notes_voice(arp, soft_bell, rate),
                                       notes_voice(pad, pad_tone, rate)]), seconds


def station_theme(rate=RATE):
    """Menu loop: broad major pads with a slow bell melody on top."""
    bar = 4.0
    chords = [(48, 55, 64), (45, 52, 60), (41, 48, 57), (43, 50, 59)]  # C Am F G
    melody = [76, 74, 72, 74, 72, 69, 67, 71]
    seconds = bar * len(chords) * 2
    pad, bells = [], []
    for i in range(len(chords) * 2):
        start = i * bar
        for n in chords[i % len(chords)]:
            pad.append((start, hz(n), bar, 0.09))
        bells.append((start + 0.5, hz(melody[i]), 2.5, 0.12))
        bells.append((start + 2.5, hz(melody[i] - 5), 1.5, 0.07))
    return loop_render(seconds, rate, [notes_voice(pad, pad_tone, rate), notes_voice(bells, soft_bell, rate)]), seconds


def approach(rate=RATE):
    """Intro loop: a low drone with slow swells and distant pings."""
    seconds = 24.0

    def drone(t, length):
        lfo = 0.6 + 0.4 * np.sin(2 * np.pi * t / length * 2)
        return 0.18 * lfo * (np.sin(2 * np.pi * 55 * t) + 0.6 * np.sin(2 * np.pi * 82.4 * t)
                             + 0.3 * np.sin(2 * np.pi * 110.3 * t))

    swells = [(s, hz(n), 5.0, 0.07) for s, n in ((0, 57), (6, 60), (12, 64), (18, 62))]
    pings = [(s, hz(n), 1.5, 0.08) for s, n in ((2.5, 88), (9.0, 84), (14.5, 91), (21.0, 86))]
    return loop_render(seconds, rate, [drone, notes_voice(swells, pad_tone, rate),
                                       notes_voice(pings, soft_bell, rate)]), seconds


def calm_orbit(seconds=24.0, rate=44100):
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


def encode_ogg(samples, rate, channels, name):
    os.makedirs(MUSIC, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "music.wav")
        write_wav(wav, samples, rate=rate, channels=channels)
        # A fixed serial number keeps the encoded file identical between runs.
        subprocess.run(["oggenc", "-Q", "-q", "0", "-s", "4711", "--discard-comments",
                        "-o", os.path.join(MUSIC, name), wav], check=True)


# Music by scene: the station levels use scenes 0 and 1 (their level files' music
# number), the intro scene 20 and the menus 9999.
MUSIC_TRACKS = [
    ("0", "calm_orbit.ogg", "Calm Orbit"),
    ("1", "drift_line.ogg", "Drift Line"),
    ("20", "approach.ogg", "Approach"),
    ("9999", "station_theme.ogg", "Station Theme"),
]


# ------------------------------------------------------------------------ catalogue

def sound_table():
    """Every key the game plays, with the file (or variant files) and how it sounds."""
    ui = "ui/"
    menus = "menus/"
    game = "game/"
    shots = "game/shots/"
    voice = "game/voice/"
    table = [
        # The engine's own demonstration screens.
        ("SFX_BUTTON_HOVER", [(ui + "hover.wav", lambda: blip(1400, 0.06, 1.15) * 0.6)]),
        ("SFX_BUTTON_CLICK", [(ui + "click.wav", click)]),
        ("SFX_TOGGLE", [(ui + "toggle.wav", toggle)]),
        ("SFX_DIALOG_OPEN", [(ui + "open.wav", lambda: whoosh(0.35, True))]),
        ("SFX_DIALOG_CLOSE", [(ui + "close.wav", lambda: whoosh(0.3, False))]),
        ("SFX_CHIRP", [(ui + "chirp_%d.wav" % i, (lambda f: lambda: blip(f, 0.12, 1.3))(f))
                       for i, f in enumerate((660, 740, 830))]),
        # Menus.
        ("SFX_BTN_CLICK", [(menus + "btn_click.wav", menu_click)]),
        ("SFX_BTN_OVER", [(menus + "btn_over.wav", menu_over)]),
        ("SFX_FLYBY_SPACETRAFFIC", [(menus + "flyby.wav", flyby)]),
        ("SFX_ARM_MOVE", [(menus + "arm_move.wav", arm_move)]),
        ("SFX_SHIELD_UP", [(menus + "shield_up.wav", shield_up)]),
        # The level's events.
        ("UI_BOOT", [(game + "ui_boot.wav", ui_boot)]),
        ("SFX_TOWER_PLACED", [(game + "tower_placed.wav", tower_placed)]),
        ("SFX_TOWER_SELECTED", [(game + "tower_selected.wav", tower_selected)]),
        ("SFX_TOWER_SOLD", [(game + "tower_sold.wav", tower_sold)]),
        ("SFX_TOWER_UPGRADED", [(game + "tower_upgraded.wav", tower_upgraded)]),
        ("SFX_WAVE_FINISHED", [(game + "wave_finished.wav", wave_finished)]),
        ("SFX_NEW_SHIP", [(game + "new_ship.wav", new_ship)]),
        ("SFX_CHECKPOINT_SAVED", [(game + "checkpoint_saved.wav", checkpoint_saved)]),
        ("SFX_CHECKPOINT_RESTORED", [(game + "checkpoint_restored.wav", checkpoint_restored)]),
        ("SFX_LEVEL_VICTORY", [(game + "level_victory.wav", level_victory)]),
        ("SFX_LEVEL_DEFEAT", [(game + "level_defeat.wav", level_defeat)]),
        ("SFX_LEVEL_PAUSED", [(game + "level_paused.wav", level_paused)]),
        ("SFX_RETURN_TO_BRIDGE", [(game + "return_to_bridge.wav", return_to_bridge)]),
        ("SFX_POWER_UP_COLLECTED", [(game + "power_up_collected.wav", power_up_collected)]),
        ("SFX_POWER_UP_ENTRY", [(game + "power_up_entry.wav", power_up_entry)]),
        # Shots and hits.
        ("SFX_PLAYER_SHOOT", [(shots + "player_shoot.wav", player_shoot)]),
        ("SFX_PLAYER_SHOOT_2", [(shots + "laser_zap.wav", laser_zap)]),
        ("SFX_PLAYER_BULLET_LASER", [(shots + "laser_beam.wav", laser_beam)]),
        ("SFX_T3_FIRE", [(shots + "pulse_fire.wav", pulse_fire)]),
        ("SFX_T4_FIRE", [(shots + "slow_fire.wav", slow_fire)]),
        ("SFX_MISSILE_LAUNCHED", [(shots + "missile_launch.wav", missile_launch)]),
        ("SFX_SHIP_EXPLODE", [(shots + "ship_explode_%d.wav" % i, (lambda s: lambda: ship_explode(s))(s))
                              for i, s in enumerate((101, 113, 127))]),
        ("SFX_SHIP_HIT_BY_PLAYER_BULLET", [(shots + "ship_hit_%d.wav" % i, (lambda f: lambda: ship_hit(f))(f))
                                           for i, f in enumerate((1900, 2300, 2700))]),
    ]
    for i, (key, words) in enumerate(sorted(VOICE_CUES.items())):
        name = key[len("SFX_"):].lower() + ".wav"
        table.append((key, [(voice + name, (lambda w, s: lambda: radio_cue(w, s))(words, 300 + 10 * i))]))
    return table


def write_sfx_catalogue(table):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Sound effects by key, written by tools/gen_sounds.py. Several Sound children",
             "     under one RandomSound are variants; each play picks one. -->",
             '<SFX defaultPath="content/sounds/">']
    for key, files in table:
        if len(files) == 1:
            lines.append('  <Sound name="%s" path="%s"/>' % (key, files[0][0]))
        else:
            lines.append('  <RandomSound name="%s">' % key)
            lines.extend('    <Sound path="%s"/>' % path for path, _ in files)
            lines.append("  </RandomSound>")
    lines.append("</SFX>")
    with open(os.path.join(CONFIG, "sfx.xml"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def write_music_catalogue():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Music by scene index, written by tools/gen_sounds.py; a scene with several tracks",
             "     gets one at random. Levels: their music number; intro 20; menus 9999. -->",
             '<SceneMusic path="content/music/">']
    for scene, name, title in MUSIC_TRACKS:
        lines.append('  <Scene index="%s">' % scene)
        lines.append('    <Music file="%s" author="Starmoor" trackName="%s"/>' % (name, title))
        lines.append("  </Scene>")
    lines.append("</SceneMusic>")
    with open(os.path.join(CONFIG, "music.xml"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    table = sound_table()
    for _, files in table:
        for path, make in files:
            write_wav(os.path.join(SOUNDS, path), make())
    write_sfx_catalogue(table)

    samples, rate = calm_orbit()
    encode_ogg(samples, rate, 2, "calm_orbit.ogg")
    for name, make in (("drift_line.ogg", drift_line), ("station_theme.ogg", station_theme),
                       ("approach.ogg", approach)):
        samples, _ = make()
        encode_ogg(normalise(samples, 0.7), RATE, 1, name)
    write_music_catalogue()


if __name__ == "__main__":
    main()
