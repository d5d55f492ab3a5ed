#include "Hash/CityHash.h"

#include "HAL/UnrealMemory.h"

#include <utility>

// CityHash v1.1 by Geoff Pike and Jyrki Alakuijala. Loads are little-endian, the byte
// order the hashes are defined in.

namespace
{
	using FUint64Pair = std::pair<uint64, uint64>;

	constexpr uint64 K0 = 0xc3a5c85c97cb3127ULL;
	constexpr uint64 K1 = 0xb492b66fbe98f273ULL;
	constexpr uint64 K2 = 0x9ae16a3b2f90404fULL;

	// Murmur3 constants, for the 32-bit hash.
	constexpr uint32 C1 = 0xcc9e2d51;
	constexpr uint32 C2 = 0x1b873593;

	inline uint64 Fetch64(const char* P)
	{
		uint64 Result;
		FMemory::Memcpy(&Result, P, sizeof(Result));
		return Result;
	}

	inline uint32 Fetch32(const char* P)
	{
		uint32 Result;
		FMemory::Memcpy(&Result, P, sizeof(Result));
		return Result;
	}

	inline uint32 Bswap32(uint32 Value)
	{
		return __builtin_bswap32(Value);
	}

	inline uint64 Bswap64(uint64 Value)
	{
		return __builtin_bswap64(Value);
	}

	inline uint32 Fmix(uint32 H)
	{
		H ^= H >> 16;
		H *= 0x85ebca6b;
		H ^= H >> 13;
		H *= 0xc2b2ae35;
		H ^= H >> 16;
		return H;
	}

	inline uint32 Rotate32(uint32 Val, int Shift)
	{
		return Shift == 0 ? Val : ((Val >> Shift) | (Val << (32 - Shift)));
	}

	inline uint64 Rotate(uint64 Val, int Shift)
	{
		return Shift == 0 ? Val : ((Val >> Shift) | (Val << (64 - Shift)));
	}

	inline uint64 ShiftMix(uint64 Val)
	{
		return Val ^ (Val >> 47);
	}

	inline uint32 Mur(uint32 A, uint32 H)
	{
		A *= C1;
		A = Rotate32(A, 17);
		A *= C2;
		H ^= A;
		H = Rotate32(H, 19);
		return H * 5 + 0xe6546b64;
	}

	// Rotates the three values: A takes C's value, B takes A's, C takes B's.
	inline void Permute3(uint32& A, uint32& B, uint32& C)
	{
		std::swap(A, B);
		std::swap(A, C);
	}

	uint32 Hash32Len0to4(const char* S, uint32 Len)
	{
		uint32 B = 0;
		uint32 C = 9;
		for (uint32 I = 0; I < Len; I++)
		{
			const signed char V = (signed char)S[I];
			B = B * C1 + (uint32)V;
			C ^= B;
		}
		return Fmix(Mur(B, Mur(Len, C)));
	}

	uint32 Hash32Len5to12(const char* S, uint32 Len)
	{
		uint32 A = Len;
		uint32 B = Len * 5;
		uint32 C = 9;
		const uint32 D = B;
		A += Fetch32(S);
		B += Fetch32(S + Len - 4);
		C += Fetch32(S + ((Len >> 1) & 4));
		return Fmix(Mur(C, Mur(B, Mur(A, D))));
	}

	uint32 Hash32Len13to24(const char* S, uint32 Len)
	{
		const uint32 A = Fetch32(S - 4 + (Len >> 1));
		const uint32 B = Fetch32(S + 4);
		const uint32 C = Fetch32(S + Len - 8);
		const uint32 D = Fetch32(S + (Len >> 1));
		const uint32 E = Fetch32(S);
		const uint32 F = Fetch32(S + Len - 4);
		const uint32 H = Len;
		return Fmix(Mur(F, Mur(E, Mur(D, Mur(C, Mur(B, Mur(A, H)))))));
	}

	inline uint64 HashLen16(uint64 U, uint64 V, uint64 Mul)
	{
		uint64 A = (U ^ V) * Mul;
		A ^= (A >> 47);
		uint64 B = (V ^ A) * Mul;
		B ^= (B >> 47);
		B *= Mul;
		return B;
	}

	inline uint64 HashLen16(uint64 U, uint64 V)
	{
		return CityHash128to64(Uint128_64{ U, V });
	}

	uint64 HashLen0to16(const char* S, uint32 Len)
	{
		if (Len >= 8)
		{
			const uint64 Mul = K2 + Len * 2;
			const uint64 A = Fetch64(S) + K2;
			const uint64 B = Fetch64(S + Len - 8);
			const uint64 C = Rotate(B, 37) * Mul + A;
			const uint64 D = (Rotate(A, 25) + B) * Mul;
			return HashLen16(C, D, Mul);
		}
		if (Len >= 4)
		{
			const uint64 Mul = K2 + Len * 2;
			const uint64 A = Fetch32(S);
			return HashLen16(Len + (A << 3), Fetch32(S + Len - 4), Mul);
		}
		if (Len > 0)
		{
			const uint8 A = (uint8)S[0];
			const uint8 B = (uint8)S[Len >> 1];
			const uint8 C = (uint8)S[Len - 1];
			const uint32 Y = (uint32)A + ((uint32)B << 8);
			const uint32 Z = Len + ((uint32)C << 2);
			return ShiftMix(Y * K2 ^ Z * K0) * K2;
		}
		return K2;
	}

	uint64 HashLen17to32(const char* S, uint32 Len)
	{
		const uint64 Mul = K2 + Len * 2;
		const uint64 A = Fetch64(S) * K1;
		const uint64 B = Fetch64(S + 8);
		const uint64 C = Fetch64(S + Len - 8) * Mul;
		const uint64 D = Fetch64(S + Len - 16) * K2;
		return HashLen16(Rotate(A + B, 43) + Rotate(C, 30) + D, A + Rotate(B + K2, 18) + C, Mul);
	}

	FUint64Pair WeakHashLen32WithSeeds(uint64 W, uint64 X, uint64 Y, uint64 Z, uint64 A, uint64 B)
	{
		A += W;
		B = Rotate(B + A + Z, 21);
		const uint64 C = A;
		A += X;
		A += Y;
		B += Rotate(A, 44);
		return FUint64Pair(A + Z, B + C);
	}

	FUint64Pair WeakHashLen32WithSeeds(const char* S, uint64 A, uint64 B)
	{
		return WeakHashLen32WithSeeds(Fetch64(S), Fetch64(S + 8), Fetch64(S + 16), Fetch64(S + 24), A, B);
	}

	uint64 HashLen33to64(const char* S, uint32 Len)
	{
		const uint64 Mul = K2 + Len * 2;
		uint64 A = Fetch64(S) * K2;
		uint64 B = Fetch64(S + 8);
		const uint64 C = Fetch64(S + Len - 24);
		const uint64 D = Fetch64(S + Len - 32);
		const uint64 E = Fetch64(S + 16) * K2;
		const uint64 F = Fetch64(S + 24) * 9;
		const uint64 G = Fetch64(S + Len - 8);
		const uint64 H = Fetch64(S + Len - 16) * Mul;
		const uint64 U = Rotate(A + G, 43) + (Rotate(B, 30) + C) * 9;
		const uint64 V = ((A + G) ^ D) + F + 1;
		const uint64 W = Bswap64((U + V) * Mul) + H;
		const uint64 X = Rotate(E + F, 42) + C;
		const uint64 Y = (Bswap64((V + W) * Mul) + G) * Mul;
		const uint64 Z = E + F + C;
		A = Bswap64((X + Z) * Mul + Y) + B;
		B = ShiftMix((Z + A) * Mul + D + H) * Mul;
		return B + X;
	}
}

uint32 CityHash32(const char* S, uint32 Len)
{
	if (Len <= 24)
	{
		return Len <= 12 ? (Len <= 4 ? Hash32Len0to4(S, Len) : Hash32Len5to12(S, Len)) : Hash32Len13to24(S, Len);
	}

	uint32 H = Len;
	uint32 G = C1 * Len;
	uint32 F = G;
	{
		const uint32 A0 = Rotate32(Fetch32(S + Len - 4) * C1, 17) * C2;
		const uint32 A1 = Rotate32(Fetch32(S + Len - 8) * C1, 17) * C2;
		const uint32 A2 = Rotate32(Fetch32(S + Len - 16) * C1, 17) * C2;
		const uint32 A3 = Rotate32(Fetch32(S + Len - 12) * C1, 17) * C2;
		const uint32 A4 = Rotate32(Fetch32(S + Len - 20) * C1, 17) * C2;
		H ^= A0;
		H = Rotate32(H, 19);
		H = H * 5 + 0xe6546b64;
		H ^= A2;
		H = Rotate32(H, 19);
		H = H * 5 + 0xe6546b64;
		G ^= A1;
		G = Rotate32(G, 19);
		G = G * 5 + 0xe6546b64;
		G ^= A3;
		G = Rotate32(G, 19);
		G = G * 5 + 0xe6546b64;
		F += A4;
		F = Rotate32(F, 19);
		F = F * 5 + 0xe6546b64;
	}
	uint32 Iters = (Len - 1) / 20;
	do
	{
		const uint32 A0 = Rotate32(Fetch32(S) * C1, 17) * C2;
		const uint32 A1 = Fetch32(S + 4);
		const uint32 A2 = Rotate32(Fetch32(S + 8) * C1, 17) * C2;
		const uint32 A3 = Rotate32(Fetch32(S + 12) * C1, 17) * C2;
		const uint32 A4 = Fetch32(S + 16);
		H ^= A0;
		H = Rotate32(H, 18);
		H = H * 5 + 0xe6546b64;
		F += A1;
		F = Rotate32(F, 19);
		F = F * C1;
		G += A2;
		G = Rotate32(G, 18);
		G = G * 5 + 0xe6546b64;
		H ^= A3 + A1;
		H = Rotate32(H, 19);
		H = H * 5 + 0xe6546b64;
		G ^= A4;
		G = Bswap32(G) * 5;
		H += A4 * 5;
		H = Bswap32(H);
		F += A0;
		Permute3(F, H, G);
		S += 20;
	}
	while (--Iters != 0);
	G = Rotate32(G, 11) * C1;
	G = Rotate32(G, 17) * C1;
	F = Rotate32(F, 11) * C1;
	F = Rotate32(F, 17) * C1;
	H = Rotate32(H + G, 19);
	H = H * 5 + 0xe6546b64;
	H = Rotate32(H, 17) * C1;
	H = Rotate32(H + F, 19);
	H = H * 5 + 0xe6546b64;
	H = Rotate32(H, 17) * C1;
	return H;
}

uint64 CityHash64(const char* S, uint32 Len)
{
	if (Len <= 32)
	{
		return Len <= 16 ? HashLen0to16(S, Len) : HashLen17to32(S, Len);
	}
	if (Len <= 64)
	{
		return HashLen33to64(S, Len);
	}

	// Longer inputs: hash the end first, then keep 56 bytes of state over 64-byte chunks.
	uint64 X = Fetch64(S + Len - 40);
	uint64 Y = Fetch64(S + Len - 16) + Fetch64(S + Len - 56);
	uint64 Z = HashLen16(Fetch64(S + Len - 48) + Len, Fetch64(S + Len - 24));
	FUint64Pair V = WeakHashLen32WithSeeds(S + Len - 64, Len, Z);
	FUint64Pair W = WeakHashLen32WithSeeds(S + Len - 32, Y + K1, X);
	X = X * K1 + Fetch64(S);

	uint32 Remaining = (Len - 1) & ~63u;
	do
	{
		X = Rotate(X + Y + V.first + Fetch64(S + 8), 37) * K1;
		Y = Rotate(Y + V.second + Fetch64(S + 48), 42) * K1;
		X ^= W.second;
		Y += V.first + Fetch64(S + 40);
		Z = Rotate(Z + W.first, 33) * K1;
		V = WeakHashLen32WithSeeds(S, V.second * K1, X + W.first);
		W = WeakHashLen32WithSeeds(S + 32, Z + W.second, Y + Fetch64(S + 16));
		std::swap(Z, X);
		S += 64;
		Remaining -= 64;
	}
	while (Remaining != 0);
	return HashLen16(HashLen16(V.first, W.first) + ShiftMix(Y) * K1 + Z, HashLen16(V.second, W.second) + X);
}

uint64 CityHash64WithSeed(const char* S, uint32 Len, uint64 Seed)
{
	return CityHash64WithSeeds(S, Len, K2, Seed);
}

uint64 CityHash64WithSeeds(const char* S, uint32 Len, uint64 Seed0, uint64 Seed1)
{
	return HashLen16(CityHash64(S, Len) - Seed0, Seed1);
}
