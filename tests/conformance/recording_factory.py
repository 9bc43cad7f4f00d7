"""Builds recorder data files for the conformance run: clean recordings, every
kind of damage the reader has to survive, and seeded random damage.

Each case is a Case(name, data, tz, valid_jpegs): the file's bytes, the time
zone to read it in, and the digests (reference_reader.jpeg_digest) of the
stored pictures that are decodable JPEGs.
"""

import random
import struct
from dataclasses import dataclass, field

from reference_reader import FIRST_BLOCK_BODY, LATER_BLOCK_PICTURE, SIGNATURE, jpeg_digest

TOKYO = "Asia/Tokyo"
NEW_YORK = "America/New_York"
RECORD_LENGTH = 8192

# A 16 x 16 baseline colour JPEG: SOI, APP0 (JFIF), tables, one scan, EOI.
TINY_JPEG = bytes.fromhex(
    "ffd8ffe000104a46494600010100000100010000ffdb004300100b0c0e0c0a100e0d0e12"
    "11101318281a181616183123251d283a333d3c3933383740485c4e404457453738506d51"
    "575f626768673e4d71797064785c656763ffdb0043011112121815182f1a1a2f63423842"
    "636363636363636363636363636363636363636363636363636363636363636363636363"
    "6363636363636363636363636363ffc00011080010001003012200021101031101ffc400"
    "160001010100000000000000000000000000000405ffc400151001010000000000000000"
    "0000000000000013ffc40014010100000000000000000000000000000005ffc400161100"
    "030000000000000000000000000000001561ffda000c03010002110311003f00c0a95455"
    "2a514419694fffd9")
_APP0_END = 2 + 2 + 16  # SOI, APP0 marker, its 16 bytes
_STORED_PREFIX = b"\xff\xd8" + bytes.fromhex("FFFE00040000") * 2
SMALLEST_PICTURE = len(_STORED_PREFIX) + len(TINY_JPEG) - 2


def _comment(payload: bytes) -> bytes:
    return b"\xff\xfe" + struct.pack(">H", len(payload) + 2) + payload


def make_jpeg(size: int, rng: random.Random, trailing: int = None) -> bytes:
    """A decodable JPEG of exactly `size` bytes in the stored form: two empty
    comments after SOI, then APP0, padding comments, the rest, EOI and 0..3
    bytes after EOI (`trailing` may ask for more, which hides the end marker)."""
    extra = size - SMALLEST_PICTURE
    if trailing is None:
        trailing = next(t for t in range(4) if extra - t == 0 or extra - t >= 4)
    padding = extra - trailing
    if padding < 0 or 0 < padding < 4:
        raise ValueError(f"no JPEG of {size} bytes with {trailing} trailing bytes")
    comments = bytearray()
    while padding > 0:
        take = min(padding, 65537)
        if 0 < padding - take < 4:
            take -= 4
        comments += _comment(bytes(rng.getrandbits(8) for _ in range(take - 4)))
        padding -= take
    body = TINY_JPEG[2:_APP0_END] + bytes(comments) + TINY_JPEG[_APP0_END:]
    picture = _STORED_PREFIX + body + bytes(trailing)
    assert len(picture) == size
    return picture


def bcd_bytes(value: int, n: int) -> bytes:
    out = bytearray(n)
    for i in range(n - 1, -1, -1):
        value, pair = divmod(value, 100)
        out[i] = (pair // 10) << 4 | pair % 10
    return bytes(out)


def date_bytes(y, mo, d, h, mi, s) -> bytes:
    return b"".join(bcd_bytes(v, 1) for v in (y - 2000, mo, d, h, mi, s))


@dataclass
class Meta:
    date: bytes = date_bytes(2010, 5, 1, 12, 0, 0)
    event: int = 0
    kind: int = 1
    g: tuple = (0, 0, 0)
    speed: bytes = bcd_bytes(40, 2)
    number_a: bytes = bcd_bytes(12340001, 4)
    number_b: bytes = bcd_bytes(99, 4)


@dataclass
class Case:
    name: str
    data: bytes
    tz: str = TOKYO
    valid_jpegs: set = field(default_factory=set)


class Builder:
    """A data file as a list of records, so cases can reorder, drop or damage
    whole records before joining them."""

    def __init__(self, date=date_bytes(2010, 5, 1, 12, 0, 0), start_counter=100_000,
                 recording_id=0x0A0B0C0D):
        self.recording_id = recording_id
        header = bytearray(8192)
        header[0:2] = b"\x01\x02"
        header[2:8] = date
        struct.pack_into(">I", header, 16, start_counter)
        struct.pack_into(">I", header, 28, recording_id)
        self.header = bytes(header)
        self.records = []
        self.valid_jpegs = set()

    @staticmethod
    def record_header(length, counter, size, kind, block, recording_id, meta: Meta) -> bytes:
        h = bytearray(64)
        struct.pack_into(">IIIBB", h, 0, length & 0xFFFFFFFF, counter & 0xFFFFFFFF,
                         size & 0xFFFFFFFF, kind, block)
        struct.pack_into(">I", h, 28, recording_id & 0xFFFFFFFF)
        h[32] = meta.event
        h[33] = meta.kind
        h[34:40] = meta.date
        struct.pack_into(">hhh", h, 40, *meta.g)
        h[46:48] = meta.speed
        h[48:52] = meta.number_a
        h[52:56] = meta.number_b
        return bytes(h)

    def picture_records(self, picture: bytes, counter: int, meta: Meta = None, *, length=RECORD_LENGTH,
                        size=None, version=b"\x04\x02", recording_id=None, valid=True):
        """The block records of one picture (stored form, its first 16 bytes
        replaced by the payload marker)."""
        meta = meta or Meta()
        size = len(picture) if size is None else size
        rid = self.recording_id if recording_id is None else recording_id
        if valid:
            self.valid_jpegs.add(jpeg_digest(picture))
        stored = version + SIGNATURE + picture[16:]
        body_room = max(length - 64, 0)
        records = []
        first = stored[:FIRST_BLOCK_BODY]
        records.append(self.record_header(length, counter, size, 0x55, 1, rid, meta) +
                       _fit(first, body_room))
        at, block = FIRST_BLOCK_BODY, 2
        while at < len(stored):
            chunk = b"\x04\x02" + SIGNATURE + stored[at:at + LATER_BLOCK_PICTURE]
            records.append(self.record_header(length, counter, size, 0x55, block, rid, meta) +
                           _fit(chunk, body_room))
            at += LATER_BLOCK_PICTURE
            block += 1
        return records

    def picture(self, picture, counter, meta=None, **kw):
        self.records += self.picture_records(picture, counter, meta, **kw)
        return self

    def sound_record(self, counter, samples: bytes, *, length=RECORD_LENGTH, size=None, block=1,
                     recording_id=None) -> bytes:
        size = len(samples) if size is None else size
        rid = self.recording_id if recording_id is None else recording_id
        return (self.record_header(length, counter, size, 0xAA, block, rid, Meta(date=bytes(6))) +
                _fit(samples, max(length - 64, 0)))

    def sound(self, counter, samples, **kw):
        self.records.append(self.sound_record(counter, samples, **kw))
        return self

    def raw(self, data: bytes):
        self.records.append(bytes(data))
        return self

    def data(self) -> bytes:
        return self.header + b"".join(self.records)

    def case(self, name, tz=TOKYO, data=None) -> Case:
        return Case(name, self.data() if data is None else data, tz, set(self.valid_jpegs))


def with_length(record: bytes, length: int) -> bytes:
    """The record with another length in its header (its bytes unchanged)."""
    return struct.pack(">I", length & 0xFFFFFFFF) + record[4:]


def _fit(body: bytes, room: int) -> bytes:
    """A record body of exactly `room` bytes: zero padded or cut."""
    return body[:room] + bytes(max(room - len(body), 0))


def tone(n: int, phase: int = 0) -> bytes:
    return bytes(0x80 + ((i + phase) % 64) - 32 for i in range(n))


# --- clean recordings ---------------------------------------------------------

def random_recording(rng: random.Random, pictures=None, multi_block_share=0.2, with_sound=True,
                     start_counter=None, date=None, meta_noise=True) -> Builder:
    """A plausible recording: pictures about every 36 ms, sound records of
    4096 samples about every 311 ms, interleaved by time."""
    start_counter = rng.randrange(0, 4_000_000_000) if start_counter is None else start_counter
    date = date or date_bytes(2000 + rng.randrange(0, 38), rng.randrange(1, 13), rng.randrange(1, 29),
                              rng.randrange(24), rng.randrange(60), rng.randrange(60))
    b = Builder(date, start_counter, rng.getrandbits(32))
    count = rng.randrange(1, 70) if pictures is None else pictures
    t = start_counter + rng.randrange(0, 400)
    sound_t = start_counter + rng.randrange(0, 400)
    seconds = 0
    for i in range(count):
        t += rng.choice((35, 36, 36, 36, 37, 20, 50, 71))
        while with_sound and sound_t <= t:
            b.sound(sound_t, tone(rng.choice((4096, 4096, 4096, 3000, 4100))))
            sound_t += rng.choice((310, 311, 311, 312))
        if rng.random() < multi_block_share:
            size = rng.randrange(8129, 60000)
        else:
            size = rng.randrange(SMALLEST_PICTURE + 4, 8129)
        if i % 28 == 0:
            seconds += 1
        meta = Meta(date=date_bytes(2010, 5, 1, 12, seconds // 60, seconds % 60),
                    event=0x20 if rng.random() < 0.05 else 0,
                    kind=rng.randrange(256) if meta_noise else 1,
                    g=tuple(rng.randrange(-9000, 9000) for _ in range(3)),
                    speed=bcd_bytes(rng.randrange(0, 200), 2),
                    number_a=bcd_bytes(rng.randrange(10**8), 4),
                    number_b=bcd_bytes(rng.randrange(10**8), 4))
        b.picture(make_jpeg(size, rng), t, meta)
    return b


# --- damage of every kind the reader must survive -------------------------------

def targeted_cases() -> list:
    rng = random.Random(1)
    pic = lambda size, **kw: make_jpeg(size, rng, **kw)  # noqa: E731
    cases = []

    def add(name, builder, tz=TOKYO, data=None):
        cases.append(builder.case(name, tz, data))

    # Clean recordings.
    b = Builder()
    for i in range(5):
        b.picture(pic(1000 + i * 100), 100_000 + i * 36)
    b.sound(100_000, tone(4096)).sound(100_311, tone(4096, 5)).sound(100_622, tone(2000))
    add("clean_small", b)
    add("clean_multi_block", random_recording(random.Random(2), pictures=60, multi_block_share=0.5))
    add("clean_long", random_recording(random.Random(3), pictures=300, multi_block_share=0.05))
    add("pictures_only", random_recording(random.Random(4), pictures=20, with_sound=False))

    # Blocks out of sequence, missing, repeated.
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], recs[2], recs[1]]
    b.picture(pic(3000), 100_036).picture(pic(3000), 100_072)
    add("blocks_out_of_sequence", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], recs[2]]
    b.picture(pic(3000), 100_036).picture(pic(3000), 100_072)
    add("block_missing", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], recs[1], recs[1], recs[2]]
    b.picture(pic(3000), 100_036)
    add("block_repeated", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += recs + recs[1:]
    b.picture(pic(3000), 100_036).picture(pic(3000), 100_072)
    add("blocks_after_complete_picture", b)

    # End marker: 0..3 bytes after EOI are fine, 4 hide it.
    b = Builder()
    for i, trailing in enumerate((0, 1, 2, 3)):
        b.picture(pic(9000 + i, trailing=trailing), 100_000 + i * 36)
    b.picture(pic(20000, trailing=4), 100_200)
    b.picture(pic(3000), 100_236).picture(pic(3001), 100_272)
    b.picture(pic(3000, trailing=4), 100_308).picture(pic(3002), 100_344)
    add("end_marker_positions", b)
    b = Builder()
    b.picture(pic(16241, trailing=0), 100_000)  # FF in block 2, D9 in block 3
    b.picture(pic(16243, trailing=1), 100_036)
    b.picture(pic(16244, trailing=4), 100_072)  # hidden end marker
    b.picture(pic(8129, trailing=0), 100_108)  # end marker in block 1, one byte in block 2
    b.picture(pic(8130, trailing=3), 100_144)
    b.picture(pic(8131, trailing=4), 100_180)
    b.picture(pic(3000), 100_216).picture(pic(3000), 100_252)
    add("end_marker_across_blocks", b)

    # Sizes at block boundaries, the largest picture and one too large.
    b = Builder()
    t = 100_000
    for size in (8127, 8128, 8129, 8130, 8132, 8133, 16240, 16241, 16244, 16245, 24352, 24353, 81135, 81136):
        b.picture(pic(size), t)
        t += 36
    b.records += b.picture_records(pic(81137), t, valid=False)
    b.picture(pic(5000), t + 36).picture(pic(5000), t + 72)
    add("block_boundaries", b)
    b = Builder()
    b.picture(pic(3000), 100_000)
    b.records += b.picture_records(pic(200_000), 100_036, valid=False)
    b.picture(pic(3000), 100_072)
    add("picture_too_large", b)
    b = Builder()
    b.records += b.picture_records(pic(90_000), 100_000, valid=False)
    b.picture(pic(3000), 100_036)
    add("picture_too_large_first", b)
    b = Builder()
    b.records += b.picture_records(pic(5000), 100_000, size=0xFFFFFFF0, valid=False)
    b.picture(pic(3000), 100_036)
    add("picture_size_negative", b)
    b = Builder()
    b.records += b.picture_records(pic(5000), 100_000, size=10, valid=False)
    b.records += b.picture_records(pic(5000), 100_036, size=16, valid=False)
    b.records += b.picture_records(pic(5000), 100_072, size=15, valid=False)
    b.picture(pic(3000), 100_108)
    add("picture_size_small", b)

    # Sound among the blocks of a picture.
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], b.sound_record(100_010, tone(4096)), recs[1], recs[2]]
    b.picture(pic(3000), 100_036).sound(100_320, tone(4096))
    add("sound_while_picture_expects_block_2", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], b.sound_record(100_010, tone(4096), block=2), recs[1], recs[2]]
    b.picture(pic(3000), 100_036).sound(100_320, tone(4096))
    add("sound_with_expected_block_number", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], b.sound_record(100_010, tone(4096), block=2, size=9000), recs[1], recs[2]]
    b.picture(pic(3000), 100_036).sound(100_320, tone(4096))
    add("sound_with_expected_block_number_too_long", b)
    b = Builder()
    b.sound(100_000, tone(4096), size=9000)
    b.picture(pic(3000), 100_036).picture(pic(3000), 100_072).sound(100_300, tone(4096))
    add("sound_longer_than_record", b)

    # A record of another type that carries the marker.
    b = Builder()
    b.picture(pic(3000), 100_000)
    other = bytearray(b.picture_records(pic(3000), 100_036, valid=False)[0])
    other[12] = 0x33
    b.raw(other).picture(pic(4000), 100_072).picture(pic(4000), 100_108)
    add("other_type_with_marker", b)
    b = Builder()
    b.picture(pic(3000), 100_000)
    other = bytearray(b.sound_record(100_010, tone(4096)))
    other[12] = 0x00
    b.raw(other).picture(pic(4000), 100_072)
    add("other_type_without_marker", b)

    # Recording id changes.
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(4096)).picture(pic(3000), 100_036)
    b.picture(pic(3000), 100_072, recording_id=0x01020304).picture(pic(3000), 100_108)
    add("recording_id_change", b)
    b = Builder()
    b.picture(pic(3000), 100_000)
    recs = b.picture_records(pic(20000), 100_036)
    b.records += [recs[0], recs[1]]
    b.picture(pic(3000), 100_072, recording_id=0x01020304)
    add("recording_id_change_inside_picture", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(4096), recording_id=7)
    add("recording_id_change_on_sound", b)

    # Short last records.
    for what in ("picture", "multi_block", "sound", "header", "peek"):
        b = Builder()
        b.picture(pic(3000), 100_000).sound(100_000, tone(4096))
        if what == "sound":
            b.sound(100_311, tone(4096))
            data = b.data()[:-5000]
        elif what == "multi_block":
            b.picture(pic(20000), 100_036)
            data = b.data()[:-3000]
        elif what == "header":
            b.picture(pic(3000), 100_036)
            data = b.data()[:-8192 + 30]
        elif what == "peek":
            b.picture(pic(3000), 100_036)
            data = b.data()[:-8192 + 70]
        else:
            b.picture(pic(7000), 100_036)
            data = b.data()[:-4000]
        add(f"short_last_record_{what}", b, data=data)
    b = Builder()
    b.picture(pic(3000), 99_964).picture(pic(20000, trailing=0), 100_000)
    data = b.data()
    add("short_last_block_before_end_marker", b, data=data[:len(data) - 8192 + 64 + 16 + 20])

    # Data version of the pictures.
    b = Builder()
    b.picture(pic(3000), 100_000, version=b"\x04\x03").picture(pic(3000), 100_036)
    add("bad_version_first_picture", b)
    b = Builder()
    b.sound(100_000, tone(4096)).picture(pic(3000), 100_000, version=b"\x05\x02")
    add("bad_version_first_picture_after_sound", b)
    b = Builder()
    b.picture(pic(3000), 100_000).picture(pic(3000), 100_036, version=b"\x04\x00")
    b.picture(pic(20000), 100_072, version=b"\x03\x02")
    add("bad_version_later_picture", b)

    # Record lengths below the header size, and huge ones.
    for length in (0, 32, 63, 64, 65, 80, 81):
        for body in ("full", "none"):
            b = Builder()
            b.picture(pic(3000), 100_000)
            if body == "full":
                b.records += [with_length(r, length) for r in b.picture_records(pic(3000), 100_036)]
            else:
                b.picture(pic(3000), 100_036, length=length)
            b.picture(pic(3000), 100_072).picture(pic(3000), 100_108)
            add(f"picture_record_length_{length}_{body}_body", b)
    for length in (0, 10, 63, 64):
        for body in ("full", "none"):
            b = Builder()
            b.picture(pic(3000), 100_000)
            if body == "full":
                b.raw(with_length(b.sound_record(100_000, tone(4096)), length))
            else:
                b.sound(100_000, tone(4096), length=length)
            b.picture(pic(3000), 100_036).sound(100_311, tone(4096))
            add(f"sound_record_length_{length}_{body}_body", b)
    for length in (0x7FFFFFF0, 0x80000010, 0xFFFFFFFF):
        b = Builder()
        b.picture(pic(3000), 100_000).sound(100_000, tone(4096))
        b.records.append(with_length(b.picture_records(pic(3000), 100_036)[0], length))
        b.picture(pic(3000), 100_072)
        add(f"picture_record_length_huge_{length:08x}", b)
        b = Builder()
        b.picture(pic(3000), 100_000).sound(100_000, tone(4096))
        b.records.append(with_length(b.sound_record(100_311, tone(4096)), length))
        b.picture(pic(3000), 100_072)
        add(f"sound_record_length_huge_{length:08x}", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], recs[1], with_length(recs[2], 0x7FFFFFF0)]
    b.picture(pic(3000), 100_036)
    add("last_block_length_huge", b)
    b = Builder()
    b.picture(pic(3000), 99_964)
    recs = b.picture_records(pic(20000), 100_000)
    b.records += [recs[0], recs[1], with_length(recs[2], 100)]
    b.picture(pic(3000), 100_036).picture(pic(3000), 100_072)
    add("last_block_too_short_for_picture", b)
    b = Builder()
    b.records += b.picture_records(pic(20000), 100_000, length=30000)
    b.picture(pic(3000), 100_036)
    add("picture_in_one_long_record", b)
    b = Builder()
    b.records += b.picture_records(pic(20000), 100_000, length=4096 + 64)
    b.picture(pic(3000), 100_036)
    add("picture_in_short_records", b)

    # Counter wrap.
    b = Builder(start_counter=4_294_000_000)
    b.sound(4_294_966_000, tone(4096)).picture(pic(3000), 4_294_967_000)
    b.picture(pic(3000), 1_000).sound(900, tone(4096)).picture(pic(3000), 1_036)
    b.picture(pic(3000), 4_294_967_290)
    add("counter_wrap", b)
    b = Builder(start_counter=3_599_999)
    b.picture(pic(3000), 0).picture(pic(3000), 36)
    add("counter_no_wrap_below_window", b)
    b = Builder(start_counter=3_600_001)
    b.picture(pic(3000), 0).picture(pic(3000), 1).picture(pic(3000), 36)
    add("counter_wrap_at_window", b)

    # Sound lead, offset and gaps.
    b = Builder()
    b.picture(pic(3000), 100_000).sound(101_038, tone(4096)).picture(pic(3000), 101_100)
    add("sound_lead_1038ms", b)
    b = Builder()
    b.sound(100_000, tone(4096)).picture(pic(3000), 100_138).picture(pic(3000), 100_174)
    add("picture_138ms_after_sound", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(1000)).sound(100_100, tone(1000))
    add("sound_gap_100ms", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(4096)).sound(101_000, tone(4096, 9))
    b.sound(101_010, tone(100)).sound(101_027, tone(100)).sound(101_030, tone(5000))
    add("sound_gap_1s_and_short_gaps", b)
    b = Builder()
    b.picture(pic(3000), 100_000)
    b.sound(100_500, tone(4096, 1)).sound(100_000, tone(4096, 2)).sound(100_500, tone(4096, 3))
    b.sound(100_000, tone(300, 4)).sound(100_200, tone(4096, 5))
    add("sound_out_of_order_and_equal_counters", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, b"").sound(101_000, tone(10)).sound(102_000, b"")
    add("sound_empty_records", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(4096))
    b.records.append(b.sound_record(100_400, tone(3000)) + b"")
    data = b.data()[:-(8192 - 64 - 1000)]
    add("sound_body_cut_short", b, data=data)
    b = Builder()
    b.sound(100_000, tone(4096)).sound(100_311, tone(4096))
    add("sound_only", b)
    b = Builder()
    b.sound(100_000, tone(4096)).picture(pic(3000), 100_000).picture(pic(3000), 100_020)
    b.picture(pic(3000), 100_030).picture(pic(3000), 100_040, Meta(event=0x20))
    add("picture_at_sound_start", b)

    # Slot placement: collisions, event marks passed on, gaps filled.
    b = Builder()
    b.picture(pic(3000), 100_000, Meta(kind=1)).picture(pic(3001), 100_001, Meta(kind=2))
    b.picture(pic(3002), 100_002, Meta(kind=3, event=0x20)).picture(pic(3003), 100_107, Meta(kind=4))
    b.picture(pic(3004), 100_250, Meta(kind=5, event=0x20))
    add("slot_collisions_and_gaps", b)
    b = Builder()
    b.sound(100_000, tone(4096)).picture(pic(3000), 100_220, Meta(event=0x20))
    b.picture(pic(3000), 100_400)
    add("first_picture_in_slot_5", b)

    # Huge counter gaps.
    b = Builder()
    b.picture(pic(3000), 100_000).picture(pic(3000), 100_000 + 29998 * 36)
    b.picture(pic(3000), 100_000 + 29999 * 36).picture(pic(3000), 100_000 + 40000 * 36)
    add("pictures_beyond_the_grid", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(4096)).sound(3_100_000, tone(4096))
    add("sound_gap_huge", b)
    b = Builder()
    b.picture(pic(3000), 100_000).sound(5_000_000, tone(4096))
    add("sound_lead_huge", b)
    b = Builder()
    b.sound(100_000, tone(4096)).picture(pic(3000), 3_000_000)
    add("picture_far_after_sound", b)

    # Header dates, BCD fields and sensor values.
    b = Builder(date=date_bytes(2009, 2, 29, 10, 0, 0))
    b.picture(pic(3000), 100_000, Meta(date=date_bytes(2009, 2, 29, 10, 0, 0)))
    b.picture(pic(3000), 100_036, Meta(date=date_bytes(2009, 3, 1, 10, 0, 0)))
    b.picture(pic(3000), 100_072, Meta(date=bytes.fromhex("09020A100000")))
    b.picture(pic(3000), 100_108, Meta(date=bytes.fromhex("0913011000 00".replace(" ", ""))))
    b.picture(pic(3000), 100_144, Meta(date=date_bytes(2009, 3, 1, 24, 0, 0)))
    b.picture(pic(3000), 100_180, Meta(date=bytes.fromhex("FF0101000000")))
    add("invalid_dates_no_start_time", b)
    b = Builder(date=date_bytes(2012, 12, 31, 23, 59, 59))
    b.picture(pic(3000), 100_000, Meta(date=bytes(6)))
    b.picture(pic(3000), 100_036, Meta(date=date_bytes(2037, 12, 31, 23, 59, 59)))
    b.picture(pic(3000), 100_072, Meta(date=date_bytes(2099, 1, 1, 0, 0, 0)))
    b.picture(pic(3000), 100_108, Meta(date=bytes.fromhex("A00101000000")))
    b.picture(pic(3000), 100_144, Meta(date=date_bytes(2000, 1, 1, 0, 0, 0)))
    b.picture(pic(3000), 100_180, Meta(date=bytes.fromhex("120231000000")))
    add("dates_at_the_edges", b)
    b = Builder()
    b.picture(pic(3000), 100_000, Meta(g=(-32768, 32767, 0), speed=bcd_bytes(181, 2),
                                       number_a=bytes.fromhex("FFFFFFFF"), number_b=bytes.fromhex("9A9B9C9D")))
    b.picture(pic(3000), 100_036, Meta(g=(4096, 4096, 4096), speed=bytes.fromhex("FFFF"), kind=255))
    b.picture(pic(3000), 100_072, Meta(g=(0, -1, 1), speed=bcd_bytes(180, 2), event=0x21))
    b.picture(pic(3000), 100_108, Meta(g=(3000, -4000, 5000), speed=bcd_bytes(179, 2),
                                       number_a=bcd_bytes(99999999, 4)))
    b.picture(pic(3000), 100_144, Meta(g=(1234, 2345, 3456)))
    add("sensor_values_and_bcd_fields", b)

    # Daylight saving time (New York): the spring gap is not a valid local time.
    b = Builder(date=date_bytes(2010, 3, 14, 2, 30, 0))
    b.picture(pic(3000), 100_000, Meta(date=date_bytes(2010, 3, 14, 1, 59, 59)))
    b.picture(pic(3000), 100_036, Meta(date=date_bytes(2010, 3, 14, 2, 0, 0)))
    b.picture(pic(3000), 100_072, Meta(date=date_bytes(2010, 3, 14, 2, 59, 59)))
    b.picture(pic(3000), 100_108, Meta(date=date_bytes(2010, 3, 14, 3, 0, 0)))
    b.picture(pic(3000), 100_144, Meta(date=date_bytes(2010, 11, 7, 1, 30, 0)))
    b.picture(pic(3000), 100_180, Meta(date=date_bytes(2010, 11, 7, 2, 30, 0)))
    add("dst_spring_gap_new_york", b, tz=NEW_YORK)
    b = Builder(date=date_bytes(2010, 3, 14, 12, 0, 0))
    b.picture(pic(3000), 100_000, Meta(date=date_bytes(2010, 3, 14, 2, 30, 0)))
    add("dst_first_picture_in_gap_new_york", b, tz=NEW_YORK)
    b = Builder(date=date_bytes(2010, 3, 14, 2, 30, 0))
    b.picture(pic(3000), 100_000, Meta(date=date_bytes(2010, 3, 14, 2, 30, 0)))
    add("dst_spring_gap_tokyo", b)

    # Marker search: garbage, misaligned records, signature in odd places.
    b = Builder()
    b.picture(pic(3000), 100_000).raw(bytes(rng.getrandbits(8) for _ in range(5000)))
    b.picture(pic(3000), 100_036).raw(b"\x00" * 3).picture(pic(3000), 100_072)
    b.raw(b"\xAA" * 100).picture(pic(20000), 100_108).picture(pic(3000), 100_144)
    add("garbage_between_records", b)
    b = Builder()
    b.picture(pic(3000), 100_000).raw(b"\x00" * 40 + SIGNATURE + b"\x00" * 100).picture(pic(3000), 100_036)
    add("signature_inside_garbage", b)
    b = Builder()
    b.picture(pic(3000), 100_000).raw(SIGNATURE + bytes(8000)).picture(pic(3000), 100_036)
    add("signature_right_after_header", b)
    b = Builder()
    b.picture(pic(3000), 100_000).raw(bytes(1_100_000)).picture(pic(3000), 100_036)
    add("garbage_longer_than_search_window", b)
    b = Builder()
    b.picture(pic(3000), 100_000).raw(bytes(8192)).picture(pic(3000), 100_036)
    add("empty_record_between_pictures", b)

    # Which dropped pictures still hand their date to a later undated one.
    dated = Meta(date=date_bytes(2011, 1, 1, 0, 0, 1))
    undated = Meta(date=bytes.fromhex("110230000000"))
    for dropped in ("too_large", "length_32", "no_end_marker", "out_of_sequence"):
        b = Builder()
        b.picture(pic(3000), 100_000)
        if dropped == "too_large":
            b.records += b.picture_records(pic(90_000), 100_036, dated, valid=False)
        elif dropped == "length_32":
            b.records += [with_length(r, 32) for r in b.picture_records(pic(3000), 100_036, dated)]
        elif dropped == "no_end_marker":
            b.picture(pic(20000, trailing=4), 100_036, dated).picture(pic(3000), 100_054)
        else:
            b.records += b.picture_records(pic(20000), 100_036, dated)[1:]
        b.picture(pic(3000), 100_072, undated).picture(pic(3000), 100_108, undated)
        add(f"date_after_dropped_picture_{dropped}", b)

    # A sound record with the block number a picture expects next, whose own
    # body runs past its record, moves the expected block on.
    b = Builder()
    b.picture(pic(3000), 99_964)
    recs = b.picture_records(pic(16000), 100_000)
    second = bytearray(recs[1])
    second[13] = 3
    b.records += [recs[0], b.sound_record(100_010, tone(4096), block=2, size=9000), bytes(second)]
    b.picture(pic(3000), 100_036).picture(pic(3000), 100_072)
    add("sound_moves_expected_block_number", b)

    # A gap after an empty sound record is filled with the last sample written.
    b = Builder()
    b.picture(pic(3000), 100_000).sound(100_000, tone(3000, 20)).sound(100_300, b"")
    b.sound(101_300, tone(4096)).sound(101_400, b"\x10" * 100).sound(101_500, b"")
    b.sound(102_500, b"")
    add("sound_fill_after_empty_record", b)

    # Sweeps over the arithmetic of sound and slots: gaps around the fill
    # remainder, leads around zero, pictures on and between slot boundaries.
    b = Builder()
    b.picture(pic(3000), 100_000)
    t = 100_000
    for i, gap in enumerate(range(0, 1600, 7)):
        b.sound(t, tone((0, 1, 16, 17, 1000, 2048, 4095, 4096, 4097)[i % 9], i))
        t += gap
    add("sound_gap_sweep", b)
    for lead in (36, 37, 38, 39, 40, 114, 115):
        b = Builder()
        b.picture(pic(3000), 100_000).sound(100_000 + lead, tone(500))
        b.picture(pic(3000), 100_000 + 2 * lead)
        add(f"sound_lead_{lead}ms", b)
    b = Builder()
    b.sound(100_000, tone(4096))
    for i in range(400):
        b.picture(pic(SMALLEST_PICTURE), 100_017 + i * 5, Meta(event=0x20 if i % 7 == 0 else 0))
    add("slot_boundary_sweep", b)

    # The limits of the record loop: 30000 pictures, 30000 sound records.
    small = pic(SMALLEST_PICTURE)
    b = Builder()
    for i in range(30_001):
        b.picture(small, 100_000 + i * 3, Meta(event=0x20 if i % 97 == 0 else 0),
                  length=64 + len(small))
    b.sound(100_000, tone(4096))
    add("picture_limit", b)
    b = Builder()
    b.picture(small, 100_000)
    for i in range(30_000):
        b.sound(100_000 + i, b"\x90", length=65)
    b.picture(small, 100_036).sound(200_000, tone(100))
    add("sound_record_limit", b)

    # Files that cannot be read.
    add("file_of_31_bytes", Builder(), data=Builder().data()[:31])
    add("file_of_32_bytes", Builder(), data=Builder().data()[:32])
    add("header_only", Builder())
    b = Builder()
    b.raw(bytes(rng.getrandbits(8) for _ in range(20000)))
    add("header_and_garbage", b)
    b = Builder()
    recs = b.picture_records(pic(20000), 100_000)
    b.records += recs[:2]
    add("only_an_incomplete_picture", b)

    return cases


# --- random damage ---------------------------------------------------------------

FIELD_SPOTS = ((0, 4), (4, 4), (8, 4), (12, 1), (13, 1), (28, 4), (32, 1), (34, 6), (40, 6), (46, 2))


def chaotic_recording(rng: random.Random) -> Builder:
    """Records whose header fields are thrown together from the values that
    steer the reader (lengths, sizes, types, block numbers), each carrying
    the marker so that the reader has to act on them."""
    b = Builder(start_counter=rng.choice((0, 100_000, 4_294_000_000)))
    b.picture(make_jpeg(3000, rng), 100_000)
    for _ in range(rng.randrange(5, 60)):
        length = rng.choice((0, 40, 64, 65, 81, 200, 4160, 8192, 8192, 8192, 16384, 0x80000000))
        size = rng.choice((0, 1, 15, 16, 3000, 4096, 8128, 8129, 16240, 16241, 81136, 81137, 0xFFFFFFFF))
        kind = rng.choice((0x55, 0x55, 0xAA, 0xAA, 0x33))
        block = rng.choice((1, 1, 1, 2, 2, 3, 4, 11))
        counter = rng.choice((100_000, 0, 4_294_967_000)) + rng.randrange(0, 3000)
        rid = b.recording_id if rng.random() < 0.97 else rng.getrandbits(32)
        meta = Meta(date=date_bytes(2010, 5, 1, 12, rng.randrange(60), rng.randrange(60)),
                    event=rng.choice((0, 0x20)))
        body = b"\x04\x02" + SIGNATURE + make_jpeg(rng.randrange(400, 20000), rng, trailing=0)[16:]
        body = body[:rng.choice((8128, 8128, 100, 20000))]
        b.raw(b.record_header(length, counter, size, kind, block, rid, meta) + body)
    return b


def random_case(seed: int) -> Case:
    rng = random.Random(seed)
    if rng.random() < 0.15:
        b = chaotic_recording(rng)
    else:
        b = random_recording(rng, multi_block_share=rng.choice((0.0, 0.1, 0.3, 0.6)))
    records = b.records
    damages = []
    for _ in range(rng.choice((0, 1, 1, 2, 3))):
        what = rng.choice(("flip", "flip", "field", "field", "duplicate", "delete", "swap",
                           "garbage", "truncate", "header"))
        damages.append(what)
        if not records:
            break
        i = rng.randrange(len(records))
        if what == "duplicate":
            records.insert(rng.randrange(len(records) + 1), records[i])
        elif what == "delete":
            del records[i]
        elif what == "swap":
            j = rng.randrange(len(records))
            records[i], records[j] = records[j], records[i]
        elif what == "garbage":
            records.insert(i, bytes(rng.getrandbits(8) for _ in range(rng.randrange(1, 9000))))
        elif what == "field":
            rec = bytearray(records[i])
            at, n = rng.choice(FIELD_SPOTS)
            if len(rec) >= at + n:
                rec[at:at + n] = bytes(rng.getrandbits(8) for _ in range(n))
                if at == 0 and rng.random() < 0.5:  # keep lengths mostly plausible
                    rec[0:4] = struct.pack(">I", rng.choice((0, 1, 63, 64, 65, 100, 4000, 8192, 8200,
                                                             16384, 0x7FFFFFFF, 0x80000000)))
            records[i] = bytes(rec)
        elif what == "flip":
            rec = bytearray(records[i])
            for _ in range(rng.randrange(1, 6)):
                spot = rng.randrange(64) if rng.random() < 0.6 else rng.randrange(len(rec))
                if spot < len(rec):
                    rec[spot] ^= 1 << rng.randrange(8)
            records[i] = bytes(rec)
    data = bytearray(b.data())
    if "header" in damages:
        at, n = rng.choice(((2, 6), (16, 4), (28, 4)))
        data[at:at + n] = bytes(rng.getrandbits(8) for _ in range(n))
    if "truncate" in damages:
        data = data[:rng.randrange(0, len(data) + 1)]
    name = f"random_{seed}" + ("_" + "_".join(damages) if damages else "_clean")
    tz = NEW_YORK if seed % 10 == 7 else TOKYO
    return b.case(name, tz, bytes(data))


def all_cases(seed: int, count: int) -> list:
    """The targeted cases, then `count` random ones derived from `seed`."""
    return targeted_cases() + [random_case(seed * 1_000_003 + i) for i in range(count)]
