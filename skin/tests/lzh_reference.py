#!/usr/bin/env python3
"""Reference decoder for the compressed stream of skin packages, written on its own from the
algorithm's description (ring of 4096 bytes primed with spaces, 60-byte matches, an adaptive
Huffman tree of 627 nodes rebuilt at frequency 0x8000, six-bit position prefixes). It prints
the golden vectors that LzhTests.cpp checks the C++ decoder against:

    python3 lzh_reference.py > lzh_golden.txt

Each line: name, LCG seed, input length, unpacked size, SHA-256 of the output, and the first
64 output bytes in hex. The input bytes come from the LCG below, which the test repeats.
"""
import hashlib

N, F, THRESHOLD = 4096, 60, 2
N_CHAR = 256 - THRESHOLD + F
T = 2 * N_CHAR - 1
R = T - 1
MAX_FREQ = 0x8000

# Upper six position bits: (number of prefix bits, how many byte values share the prefix).
D_CODE = []
D_LEN = []
for upper, (bits, count) in enumerate(
        [(3, 32)] + [(4, 16)] * 3 + [(5, 8)] * 8 + [(6, 4)] * 12 + [(7, 2)] * 24 + [(8, 1)] * 16):
    D_CODE += [upper] * count
    D_LEN += [bits] * count
assert len(D_CODE) == 256


class Tree:
    def __init__(self):
        self.freq = [0] * (T + 1)
        self.parent = [0] * (T + N_CHAR)
        self.son = [0] * T
        for i in range(N_CHAR):
            self.freq[i] = 1
            self.son[i] = i + T
            self.parent[i + T] = i
        i, j = 0, N_CHAR
        while j <= R:
            self.freq[j] = self.freq[i] + self.freq[i + 1]
            self.son[j] = i
            self.parent[i] = self.parent[i + 1] = j
            i += 2
            j += 1
        self.freq[T] = 0xFFFF
        self.parent[R] = 0

    def rebuild(self):
        leaves = [((self.freq[i] + 1) // 2, self.son[i]) for i in range(T) if self.son[i] >= T]
        freq = [f for f, _ in leaves]
        son = [s for _, s in leaves]
        i = 0
        for j in range(N_CHAR, T):
            f = freq[i] + freq[i + 1]
            k = j
            while k > 0 and f < freq[k - 1]:
                k -= 1
            freq.insert(k, f)
            son.insert(k, i)
            i += 2
        self.freq[:T] = freq
        self.son[:T] = son
        for i in range(T):
            k = self.son[i]
            if k >= T:
                self.parent[k] = i
            else:
                self.parent[k] = self.parent[k + 1] = i

    def update(self, symbol):
        if self.freq[R] == MAX_FREQ:
            self.rebuild()
        c = self.parent[symbol + T]
        while True:
            self.freq[c] += 1
            k = self.freq[c]
            if k > self.freq[c + 1]:
                l = c + 1
                while k > self.freq[l + 1]:
                    l += 1
                self.freq[c], self.freq[l] = self.freq[l], k
                a, b = self.son[c], self.son[l]
                self.parent[a] = l
                if a < T:
                    self.parent[a + 1] = l
                self.son[l] = a
                self.parent[b] = c
                if b < T:
                    self.parent[b + 1] = c
                self.son[c] = b
                c = l
            c = self.parent[c]
            if c == 0:
                break


class Bits:
    def __init__(self, data):
        self.data = data
        self.pos = 0
        self.buf = 0   # 16-bit window, next bit in bit 15
        self.count = 0

    def _fill(self):
        while self.count <= 8:
            byte = self.data[self.pos] if self.pos < len(self.data) else 0
            self.pos += 1
            self.buf = (self.buf | (byte << (8 - self.count))) & 0xFFFF
            self.count += 8

    def bit(self):
        self._fill()
        b = self.buf >> 15
        self.buf = (self.buf << 1) & 0xFFFF
        self.count -= 1
        return b

    def byte(self):
        self._fill()
        b = self.buf >> 8
        self.buf = (self.buf << 8) & 0xFFFF
        self.count -= 8
        return b


def decode(data, size):
    ring = bytearray(b' ' * (N - F) + b'\0' * (F + F - 1))
    r = N - F
    tree = Tree()
    bits = Bits(data)
    out = bytearray()
    while len(out) < size:
        node = tree.son[R]
        while node < T:
            node = tree.son[node + bits.bit()]
        symbol = node - T
        tree.update(symbol)
        if symbol < 256:
            out.append(symbol)
            ring[r] = symbol
            r = (r + 1) % N
            continue
        i = bits.byte()
        upper = D_CODE[i] << 6
        for _ in range(D_LEN[i] - 2):
            i = (i << 1) + bits.bit()
        position = upper | (i & 0x3F)
        start = (r - position - 1) % N
        for k in range(symbol - 253):
            c = ring[(start + k) % N]
            out.append(c)
            ring[r] = c
            r = (r + 1) % N
    return bytes(out[:size])


def lcg_bytes(seed, count):
    x = seed
    out = bytearray()
    for _ in range(count):
        x = (x * 1103515245 + 12345) % (1 << 31)
        out.append((x >> 16) & 0xFF)
    return bytes(out)


VECTORS = [
    ("short", 1, 48, 300),          # arbitrary bits: literals and matches into the primed spaces
    ("past_end", 7, 16, 2000),      # the stream runs out early and reads on as zero bytes
    ("rebuild", 42, 40000, 300000),  # long enough for the tree to be rebuilt several times
]

if __name__ == "__main__":
    for name, seed, length, size in VECTORS:
        out = decode(lcg_bytes(seed, length), size)
        print(name, seed, length, size, hashlib.sha256(out).hexdigest(), out[:64].hex())
