"""An independent reader of the recorder's data files, written from the
file format description alone, used to check the product's reader from the
outside (through kvr-tool).

read_recording(data, valid_jpegs) returns a Reading with
  - info:   the structure `kvr-tool info` prints, or None when the file
            cannot be read (error is then set),
  - wav:    the bytes of the WAV file that opening writes,
  - frames: per slot True (a picture is expected), False (none is expected)
            or None (the stored bytes are not a picture this suite generated,
            so whether they decode is libjpeg's business, not ours).

Times are converted in the local time zone of this process (TZ).
"""

import hashlib
import math
import struct
import time

FILE_HEADER_SIZE = 8192
RECORD_HEADER_SIZE = 64
FIRST_BLOCK_BODY = 8128
LATER_BLOCK_PICTURE = 8112
MAX_BLOCKS = 10
MAX_PICTURE_SIZE = FIRST_BLOCK_BODY + (MAX_BLOCKS - 1) * LATER_BLOCK_PICTURE  # 81136
MAX_SLOTS = 30000
MAX_PICTURES = 30000
MAX_SOUND_RECORDS = 30000
SLOT_PERIOD_MS = 35.714285714285715
# The longest stretch of time a recording can show, whole milliseconds: sound
# lead and gaps are never longer than this.
GRID_SPAN_MS = int(MAX_SLOTS * (1000.0 / 28.0))  # 1071428
SOUND_RATE = 13183
SOUND_LEAD_MS = 38
COUNTER_WRAP_WINDOW_MS = 3_600_000
COUNTER_WRAP_ADD = 0xFFFFFFFF
SEARCH_WINDOW = 1_048_576
SOUND_CHUNK = 4096
FILL_REMAINDER = 2048
MAX_SOUND_BYTES = 2**31 - 37
MAX_FRAME_RECORD_LENGTH = 1_048_576

TYPE_VIDEO = 0x55
TYPE_SOUND = 0xAA
EVENT_MARK = 0x20
SILENCE = 0x80

SIGNATURE = b"QUENTRAX-CO.\x00\x00"
DATA_VERSION = bytes([0x04, 0x02])
PAYLOAD_MARKER = DATA_VERSION + SIGNATURE
JPEG_START_BYTES = bytes.fromhex("FFD8FFFE00040000FFFE00040000FFE0")

G_PER_UNIT = 0.00024414


class ReadError(Exception):
    """The file cannot be read at all (the viewer shows text 5510)."""


def jpeg_digest(stored_picture: bytes) -> bytes:
    """Identity of a picture in its stored form (JPEG start bytes in front)."""
    return hashlib.sha256(stored_picture).digest()


def u32(buf, off):
    return struct.unpack_from(">I", buf, off)[0]


def s16(buf, off):
    return struct.unpack_from(">h", buf, off)[0]


def s32_of(value):
    return value - (1 << 32) if value >= (1 << 31) else value


def bcd(buf, off, n):
    value = 0
    for b in buf[off:off + n]:
        value = value * 100 + 10 * (b >> 4) + (b & 0x0F)
    return value


def local_time(six):
    """Seconds since the epoch for six BCD bytes read as local time, or None
    when they do not name a real local date-time."""
    y = 2000 + bcd(six, 0, 1)
    mo, d, h, mi, s = (bcd(six, i, 1) for i in range(1, 6))
    try:
        t = time.mktime((y, mo, d, h, mi, s, 0, 0, -1))
    except (OverflowError, ValueError):
        return None
    if t == -1:
        return None
    back = time.localtime(t)
    if (back.tm_year, back.tm_mon, back.tm_mday, back.tm_hour, back.tm_min, back.tm_sec) != (y, mo, d, h, mi, s):
        return None
    return int(t)


class Record:
    """One picture or sound record as gathered while reading."""

    def __init__(self):
        self.kindDigit = 0
        self.pictureNumber = 0
        self.time = 0
        self.gX = self.gY = self.gZ = self.gMagnitude = 0.0
        self.speed = 0
        self.numberA = self.numberB = 0
        self.eventMark = 0
        self.recordLength = 0
        self.dataSize = 0  # unsigned 32-bit
        self.counter = 0
        self.blockPositions = [0] * MAX_BLOCKS
        self.blockCount = 0
        self.complete = False

    def copy(self):
        other = Record()
        other.__dict__.update(self.__dict__)
        other.blockPositions = list(self.blockPositions)
        return other

    def as_json(self):
        return {
            "kindDigit": self.kindDigit,
            "pictureNumber": self.pictureNumber,
            "time": self.time,
            "gX": self.gX,
            "gY": self.gY,
            "gZ": self.gZ,
            "gMagnitude": self.gMagnitude,
            "speed": self.speed,
            "numberA": self.numberA,
            "numberB": self.numberB,
            "eventMark": self.eventMark,
            "recordLength": s32_of(self.recordLength),
            "dataSize": s32_of(self.dataSize),
            "counter": self.counter,
            "blockCount": self.blockCount,
            "blockPositions": self.blockPositions[:self.blockCount],
        }


class Reading:
    def __init__(self):
        self.info = None
        self.error = None
        self.wav = b""
        self.frames = []


class _DataFile:
    """Positioned reads over the file's bytes; moving past the end is allowed,
    reading there is not."""

    def __init__(self, data):
        self.data = data

    def read(self, pos, n):
        """n bytes at pos, or None when fewer are there."""
        if pos < 0 or pos + n > len(self.data):
            return None
        return self.data[pos:pos + n]

    def read_some(self, pos, n):
        if pos < 0 or pos >= len(self.data):
            return b""
        return self.data[pos:pos + n]


class _SoundWriter:
    def __init__(self):
        self.out = bytearray()
        self.full = False

    def write(self, chunk):
        room = MAX_SOUND_BYTES - len(self.out)
        if len(chunk) > room:
            chunk = chunk[:room]
            self.full = True
        self.out += chunk

    def last_sample(self):
        return self.out[-1] if self.out else SILENCE


class _Reader:
    def __init__(self, data, valid_jpegs):
        self.file = _DataFile(data)
        self.valid_jpegs = valid_jpegs

    # --- file header -------------------------------------------------------

    def read_header(self):
        head = self.file.read(0, 32)
        if head is None:
            raise ReadError("file header")
        self.start_time = local_time(head[2:8]) or 0
        self.start_counter = u32(head, 16)
        self.recording_id = u32(head, 28)

    def unwrap(self, counter):
        if self.start_counter - COUNTER_WRAP_WINDOW_MS > counter:
            return counter + COUNTER_WRAP_ADD
        return counter

    # --- record loop -------------------------------------------------------

    def skip_body(self, pos, length):
        return pos + length - RECORD_HEADER_SIZE if length > RECORD_HEADER_SIZE else pos

    def search_signature(self, pos):
        window = self.file.read_some(pos, SEARCH_WINDOW)
        if len(window) < len(SIGNATURE):
            return None
        k = window.find(SIGNATURE)
        if k < 0:
            return None
        return pos + k - 66

    def picture_byte_position(self, picture, j):
        if j < FIRST_BLOCK_BODY:
            return picture.blockPositions[0] + j
        b = 1 + (j - FIRST_BLOCK_BODY) // LATER_BLOCK_PICTURE
        return picture.blockPositions[b] + 16 + (j - FIRST_BLOCK_BODY) % LATER_BLOCK_PICTURE

    def fill_picture_fields(self, rec, hdr):
        rec.eventMark = hdr[32]
        rec.kindDigit = hdr[33]
        stamp = local_time(hdr[34:40])
        if stamp is not None:
            self.last_time = stamp
        rec.time = self.last_time
        rec.gX = s16(hdr, 40) * G_PER_UNIT
        rec.gY = s16(hdr, 42) * G_PER_UNIT
        rec.gZ = s16(hdr, 44) * G_PER_UNIT
        magnitude = math.sqrt(rec.gX * rec.gX + rec.gY * rec.gY + rec.gZ * rec.gZ)
        rec.gMagnitude = min(magnitude, 2.0)
        rec.speed = min(bcd(hdr, 46, 2), 180)
        rec.pictureNumber = bcd(hdr, 48, 2)
        rec.numberA = bcd(hdr, 48, 4)
        rec.numberB = bcd(hdr, 52, 4)

    def record_loop(self):
        pictures, sounds = [], []
        expected = 1
        picture_seen = False
        pos = FILE_HEADER_SIZE
        self.last_time = self.start_time

        def drop_incomplete_last():
            if pictures and not pictures[-1].complete:
                pictures.pop()

        while len(sounds) < MAX_SOUND_RECORDS:
            hdr = self.file.read(pos, RECORD_HEADER_SIZE)
            peek = self.file.read(pos + RECORD_HEADER_SIZE, 16)
            if hdr is None or peek is None:
                break
            pos += RECORD_HEADER_SIZE
            length = u32(hdr, 0)
            signed_length = s32_of(length)
            counter = u32(hdr, 4)
            size = u32(hdr, 8)
            kind = hdr[12]
            block = hdr[13]

            if peek[2:16] != SIGNATURE and kind != TYPE_SOUND:
                found = self.search_signature(pos)
                if found is None:
                    break
                pos = found
                continue

            if u32(hdr, 28) != self.recording_id:
                break

            if block != expected:
                expected = 1
                drop_incomplete_last()
                pos = self.skip_body(pos, length)
                continue

            if block >= 2 and kind == TYPE_VIDEO:
                if not pictures or pictures[-1].complete:
                    pos = self.skip_body(pos, length)
                    continue
                picture = pictures[-1]
                if picture.blockCount >= MAX_BLOCKS:
                    pictures.pop()
                    expected = 1
                    pos = self.skip_body(pos, length)
                    continue
                # Blocks are kept in the order met: a sound record carrying the
                # expected block number can move `expected` past the count.
                picture.blockPositions[picture.blockCount] = pos
                picture.blockCount += 1
                n = picture.blockCount
                if picture.dataSize > n * LATER_BLOCK_PICTURE + 16:
                    expected += 1
                    pos = self.skip_body(pos, length)
                    continue
                k = picture.dataSize - n * LATER_BLOCK_PICTURE + LATER_BLOCK_PICTURE
                if not (17 <= k <= length - RECORD_HEADER_SIZE):
                    pictures.pop()
                    pos = self.skip_body(pos, length)
                    continue
                tail = []
                for j in range(picture.dataSize - 5, picture.dataSize):
                    byte = self.file.read(self.picture_byte_position(picture, j), 1)
                    if byte is None:
                        tail = None
                        break
                    tail.append(byte[0])
                if tail is None:
                    break
                if any(tail[i] == 0xFF and tail[i + 1] == 0xD9 for i in range(4)):
                    picture.complete = True
                    expected = 1
                else:
                    pictures.pop()
                pos = pos + length - RECORD_HEADER_SIZE
                continue

            rec = Record()
            rec.blockPositions[0] = pos
            rec.blockCount = 1
            rec.recordLength = length
            rec.counter = self.unwrap(counter)
            rec.dataSize = size
            if length - RECORD_HEADER_SIZE < size:
                expected += 1
            else:
                rec.complete = True

            if kind == TYPE_VIDEO:
                if not picture_seen:
                    if peek[0:2] != DATA_VERSION:
                        raise ReadError("version of the first picture")
                    picture_seen = True
                self.fill_picture_fields(rec, hdr)
                if size > MAX_PICTURE_SIZE:
                    expected = 1
                    pos = self.skip_body(pos, length)
                    continue
                if signed_length < RECORD_HEADER_SIZE:
                    expected = 1
                    continue
                pos += length - RECORD_HEADER_SIZE
                pictures.append(rec)
                if len(pictures) >= MAX_PICTURES:
                    break
            elif kind == TYPE_SOUND:
                if signed_length < RECORD_HEADER_SIZE:
                    continue
                pos += length - RECORD_HEADER_SIZE
                sounds.append(rec)
            # any other type: dropped, the position stays after the header

        drop_incomplete_last()
        return pictures, sounds

    # --- completion --------------------------------------------------------

    def write_sound(self, pictures, sounds, t_min):
        sounds = sorted(sounds, key=lambda r: r.counter)
        writer = _SoundWriter()
        s0 = sounds[0].counter if sounds else 0
        if pictures:
            lead = min(int(float(s0) - t_min - SOUND_LEAD_MS), GRID_SPAN_MS)
            if lead > 0:
                n = int((lead * SOUND_RATE) / 1000.0)
                while n > 0 and not writer.full:
                    piece = min(n, SOUND_CHUNK)
                    writer.write(bytes([SILENCE]) * piece)
                    n -= piece

        def body(rec):
            w = min(rec.dataSize, SOUND_CHUNK)
            got = self.file.read_some(rec.blockPositions[0], w)
            return got + bytes([SILENCE]) * (w - len(got))

        for i, rec in enumerate(sounds):
            if writer.full:
                break
            if i == len(sounds) - 1:
                writer.write(body(rec))
                break
            gap_ms = min(sounds[i + 1].counter - rec.counter, GRID_SPAN_MS)
            g = int((gap_ms * SOUND_RATE) / 1000.0)
            if g <= 16:
                continue
            samples = body(rec)
            writer.write(samples)
            remaining = g - len(samples)
            while remaining > FILL_REMAINDER and not writer.full:
                piece = min(remaining, SOUND_CHUNK)
                writer.write(bytes([writer.last_sample()]) * piece)
                remaining -= piece
        return bytes(writer.out), s0

    def place(self, pictures, sounds, t_min, s0):
        offset = max(0.0, t_min - (s0 + SOUND_LEAD_MS)) if sounds else 0.0
        slots = [None] * MAX_SLOTS
        slot_count = 0
        for rec in pictures:
            s = int((float(rec.counter) - t_min + offset) / SLOT_PERIOD_MS)
            if s < 0 or s >= MAX_SLOTS - 1:
                continue
            if slots[s] is None:
                slots[s] = rec
            elif slots[s + 1] is None:
                slots[s + 1] = rec
            elif rec.eventMark == EVENT_MARK:
                slots[s].eventMark = EVENT_MARK
            slot_count = max(slot_count, s + 1)

        placed = list(slots[:slot_count])
        filled = list(placed)
        nearest = None
        for i in range(slot_count):
            if placed[i] is not None:
                nearest = placed[i]
            elif nearest is not None:
                filled[i] = self._gap_copy(nearest)
        nearest = None
        for i in range(slot_count - 1, -1, -1):
            if placed[i] is not None:
                nearest = placed[i]
            elif filled[i] is None and nearest is not None:
                filled[i] = self._gap_copy(nearest)
        return filled

    @staticmethod
    def _gap_copy(rec):
        copy = rec.copy()
        copy.eventMark = 0
        return copy

    # --- pictures ----------------------------------------------------------

    def expect_picture(self, rec):
        size = rec.dataSize
        if not (16 <= size <= MAX_PICTURE_SIZE):
            return False
        if not (16 < s32_of(rec.recordLength) <= MAX_FRAME_RECORD_LENGTH):
            return False
        buf = bytearray(size)
        for b in range(rec.blockCount):
            if b == 0:
                at, n, dest = rec.blockPositions[0], min(size, FIRST_BLOCK_BODY), 0
            else:
                at = rec.blockPositions[b] + 16
                n = min(LATER_BLOCK_PICTURE, size - 16 - b * LATER_BLOCK_PICTURE)
                dest = FIRST_BLOCK_BODY + (b - 1) * LATER_BLOCK_PICTURE
            if n < 0:
                return None
            got = self.file.read(at, n)
            if got is None:
                return False
            buf[dest:dest + n] = got
        if bytes(buf[:16]) != PAYLOAD_MARKER:
            return False
        buf[:16] = JPEG_START_BYTES
        return True if jpeg_digest(bytes(buf)) in self.valid_jpegs else None

    # --- all of it ---------------------------------------------------------

    def read(self):
        reading = Reading()
        self.read_header()
        pictures, sounds = self.record_loop()
        t_min = float(min(r.counter for r in pictures)) if pictures else 1.7976931348623157e308
        wav_data, s0 = self.write_sound(pictures, sounds, t_min)
        if not pictures and not sounds:
            raise ReadError("neither pictures nor sound")
        slots = self.place(pictures, sounds, t_min, s0)
        times = [r.time for r in slots if r.time != 0]
        reading.info = {
            "startTime": self.start_time,
            "startCounter": self.start_counter,
            "recordingId": self.recording_id,
            "slotCount": len(slots),
            "firstFrameTime": times[0] if times else 0,
            "lastFrameTime": times[-1] if times else 0,
            "soundBytes": len(wav_data),
            "eventFrames": [i for i, r in enumerate(slots) if r.eventMark == EVENT_MARK],
            "slots": [r.as_json() for r in slots],
        }
        reading.wav = wav_header(len(wav_data)) + wav_data
        verdicts = {}
        for r in slots:
            key = (tuple(r.blockPositions), r.blockCount, r.dataSize, r.recordLength)
            if key not in verdicts:
                verdicts[key] = self.expect_picture(r)
            reading.frames.append(verdicts[key])
        return reading


def wav_header(n):
    return (b"RIFF" + struct.pack("<I", n + 36) + b"WAVE" + b"fmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, SOUND_RATE, SOUND_RATE, 1, 8) +
            b"data" + struct.pack("<I", n))


def read_recording(data: bytes, valid_jpegs=frozenset()) -> Reading:
    """Read a whole data file; valid_jpegs holds jpeg_digest() of every
    stored picture known to be a decodable JPEG."""
    try:
        return _Reader(data, valid_jpegs).read()
    except ReadError as failure:
        reading = Reading()
        reading.error = str(failure)
        return reading
