#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTypeTraits.h"
#include "Templates/TypeHash.h"
#include "Serialization/Archive.h"

#include <new>
#include <type_traits>

class FArchive;

// What a native struct declares about itself; specialise TStructOpsTypeTraits to change it.
template<class CPPSTRUCT>
struct TStructOpsTypeTraitsBase2
{
	enum
	{
		WithZeroConstructor = false,
		WithNoDestructor = false,
		WithCopy = true,
		WithIdenticalViaEquality = false,
		WithSerializer = false,
	};
};

template<class CPPSTRUCT>
struct TStructOpsTypeTraits : public TStructOpsTypeTraitsBase2<CPPSTRUCT>
{
};

// The native operations of a script struct, reached without knowing its C++ type.
class ICppStructOps
{
public:
	ICppStructOps(int32 InSize, int32 InAlignment)
		: Size(InSize)
		, Alignment(InAlignment)
	{
	}
	virtual ~ICppStructOps() = default;

	virtual bool HasZeroConstructor() const = 0;
	virtual bool IsPlainOldData() const = 0;
	virtual bool HasDestructor() const = 0;
	virtual bool HasCopy() const = 0;
	virtual bool HasIdentical() const = 0;
	virtual bool HasGetTypeHash() const = 0;
	virtual bool HasSerializer() const = 0;

	virtual void Construct(void* Dest) = 0;
	virtual void Destruct(void* Dest) = 0;
	virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) = 0;
	virtual bool Identical(const void* A, const void* B, bool& bOutResult) = 0;
	virtual uint32 GetStructTypeHash(const void* Src) = 0;
	virtual bool Serialize(FArchive& Ar, void* Data) = 0;

	int32 GetSize() const
	{
		return Size;
	}
	int32 GetAlignment() const
	{
		return Alignment;
	}

private:
	int32 Size;
	int32 Alignment;
};

namespace UE::CoreUObject::Private
{
	template<typename T>
	concept CGetTypeHashable = requires(const T& Value) { GetTypeHash(Value); };

	template<typename T>
	concept CSerializable = requires(FArchive& Ar, T& Value) { Ar << Value; };
}

template<class CPPSTRUCT>
struct TCppStructOps final : public ICppStructOps
{
	typedef TStructOpsTypeTraits<CPPSTRUCT> TTraits;

	TCppStructOps()
		: ICppStructOps(sizeof(CPPSTRUCT), alignof(CPPSTRUCT))
	{
	}

	virtual bool HasZeroConstructor() const override
	{
		return TTraits::WithZeroConstructor || TIsZeroConstructType<CPPSTRUCT>::Value;
	}
	virtual bool IsPlainOldData() const override
	{
		return TIsPODType<CPPSTRUCT>::Value;
	}
	virtual bool HasDestructor() const override
	{
		return !(TTraits::WithNoDestructor || std::is_trivially_destructible_v<CPPSTRUCT>);
	}
	virtual bool HasCopy() const override
	{
		return TTraits::WithCopy && !IsPlainOldData();
	}
	virtual bool HasIdentical() const override
	{
		return TTraits::WithIdenticalViaEquality;
	}
	virtual bool HasGetTypeHash() const override
	{
		return UE::CoreUObject::Private::CGetTypeHashable<CPPSTRUCT>;
	}
	virtual bool HasSerializer() const override
	{
		return TTraits::WithSerializer;
	}

	virtual void Construct(void* Dest) override
	{
		::new (Dest) CPPSTRUCT();
	}
	virtual void Destruct(void* Dest) override
	{
		static_cast<CPPSTRUCT*>(Dest)->~CPPSTRUCT();
	}
	virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) override
	{
		if constexpr (std::is_copy_assignable_v<CPPSTRUCT>)
		{
			CPPSTRUCT* TypedDest = static_cast<CPPSTRUCT*>(Dest);
			const CPPSTRUCT* TypedSrc = static_cast<const CPPSTRUCT*>(Src);
			for (int32 Index = 0; Index < ArrayDim; ++Index)
			{
				TypedDest[Index] = TypedSrc[Index];
			}
			return true;
		}
		return false;
	}
	virtual bool Identical(const void* A, const void* B, bool& bOutResult) override
	{
		if constexpr (TTraits::WithIdenticalViaEquality)
		{
			bOutResult = *static_cast<const CPPSTRUCT*>(A) == *static_cast<const CPPSTRUCT*>(B);
			return true;
		}
		bOutResult = false;
		return false;
	}
	virtual uint32 GetStructTypeHash(const void* Src) override
	{
		if constexpr (UE::CoreUObject::Private::CGetTypeHashable<CPPSTRUCT>)
		{
			return GetTypeHash(*static_cast<const CPPSTRUCT*>(Src));
		}
		return 0;
	}
	virtual bool Serialize(FArchive& Ar, void* Data) override
	{
		if constexpr (TTraits::WithSerializer && UE::CoreUObject::Private::CSerializable<CPPSTRUCT>)
		{
			Ar << *static_cast<CPPSTRUCT*>(Data);
			return true;
		}
		return false;
	}
};
