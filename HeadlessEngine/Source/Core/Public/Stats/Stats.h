#pragma once

#include "CoreTypes.h"
#include "UObject/NameTypes.h"

// Stats are named and grouped but never measured: counters compile to nothing.

// What a stat id names. Descriptions live for the whole process.
struct FStatDescription
{
	FName Name;
	FName Group;
	FName Category;
};

struct TStatId
{
	FORCEINLINE constexpr TStatId() = default;

	FORCEINLINE explicit constexpr TStatId(const FStatDescription* InDescription)
		: Description(InDescription)
	{
	}

	FORCEINLINE bool IsValidStat() const
	{
		return Description != nullptr;
	}

	// NAME_None for an invalid stat.
	FORCEINLINE FName GetName() const
	{
		return Description ? Description->Name : FName();
	}

	// Name, group and category; null for an invalid stat.
	FORCEINLINE const FStatDescription* GetDescription() const
	{
		return Description;
	}

	FORCEINLINE const void* GetRawPointer() const
	{
		return Description;
	}

	FORCEINLINE bool operator==(TStatId Other) const
	{
		return Description == Other.Description;
	}

	FORCEINLINE bool operator!=(TStatId Other) const
	{
		return Description != Other.Description;
	}

	friend FORCEINLINE uint32 GetTypeHash(TStatId StatId)
	{
		return PointerHash(StatId.Description);
	}

private:
	const FStatDescription* Description = nullptr;
};

struct FStatRegistry
{
	// The description of the cycle stat with this name in this group, created on the first
	// request; the same pointer after that, from any thread.
	static CORE_API const FStatDescription* FindOrAddCycleStat(const TCHAR* StatName, const TCHAR* GroupName, const TCHAR* CategoryName);
};

#define DECLARE_STATS_GROUP(GroupDesc, GroupId, GroupCat) \
	struct FStatGroup_##GroupId \
	{ \
		enum { DefaultEnable = true, CompileTimeEnable = true }; \
		static const TCHAR* GetGroupName() { return TEXT(#GroupId); } \
		static const TCHAR* GetGroupCategory() { return TEXT(#GroupCat); } \
		static const TCHAR* GetDescription() { return GroupDesc; } \
		static bool IsDefaultEnabled() { return true; } \
		static bool IsCompileTimeEnable() { return true; } \
		static bool GetSortByName() { return false; } \
	};

#define DECLARE_STATS_GROUP_VERBOSE(GroupDesc, GroupId, GroupCat) DECLARE_STATS_GROUP(GroupDesc, GroupId, GroupCat)
#define DECLARE_STATS_GROUP_MAYBE_COMPILED_OUT(GroupDesc, GroupId, GroupCat, CompileIn) DECLARE_STATS_GROUP(GroupDesc, GroupId, GroupCat)

// The body of GetStatId(): a cycle stat named after StatId in GroupId, made on the first call.
#define RETURN_QUICK_DECLARE_CYCLE_STAT(StatId, GroupId) \
	static const TStatId StatPtr_##StatId(FStatRegistry::FindOrAddCycleStat(TEXT(#StatId), FStatGroup_##GroupId::GetGroupName(), FStatGroup_##GroupId::GetGroupCategory())); \
	return StatPtr_##StatId;

#define DECLARE_CYCLE_STAT(CounterName, StatId, GroupId) \
	struct FStat_##StatId \
	{ \
		static TStatId GetStatId() \
		{ \
			static const TStatId Id(FStatRegistry::FindOrAddCycleStat(TEXT(#StatId), FStatGroup_##GroupId::GetGroupName(), FStatGroup_##GroupId::GetGroupCategory())); \
			return Id; \
		} \
	};

#define DECLARE_CYCLE_STAT_EXTERN(CounterName, StatId, GroupId, API) DECLARE_CYCLE_STAT(CounterName, StatId, GroupId)
#define DECLARE_CYCLE_STAT_WITH_FLAGS(CounterName, StatId, GroupId, StatFlags) DECLARE_CYCLE_STAT(CounterName, StatId, GroupId)
#define DEFINE_STAT(Stat)
#define GET_STATID(Stat) (FStat_##Stat::GetStatId())
#define GET_STATFNAME(Stat) (FStat_##Stat::GetStatId().GetName())

#define SCOPE_CYCLE_COUNTER(Stat)
#define QUICK_SCOPE_CYCLE_COUNTER(Stat)
#define SCOPE_CYCLE_COUNTER_STATID(StatId)
#define CONDITIONAL_SCOPE_CYCLE_COUNTER(Stat, bCondition)
#define DECLARE_SCOPE_CYCLE_COUNTER(CounterName, Stat, GroupId)
#define INC_DWORD_STAT(Stat)
#define DEC_DWORD_STAT(Stat)
#define INC_DWORD_STAT_BY(Stat, Amount)
#define DEC_DWORD_STAT_BY(Stat, Amount)
#define SET_DWORD_STAT(Stat, Value)
#define INC_MEMORY_STAT_BY(Stat, Amount)
#define DEC_MEMORY_STAT_BY(Stat, Amount)
#define DECLARE_DWORD_COUNTER_STAT(CounterName, StatId, GroupId)
#define DECLARE_MEMORY_STAT(CounterName, StatId, GroupId)

DECLARE_STATS_GROUP(TEXT("Tickables"), STATGROUP_Tickables, STATCAT_Advanced);
DECLARE_STATS_GROUP(TEXT("Game"), STATGROUP_Game, STATCAT_Advanced);
DECLARE_STATS_GROUP(TEXT("Engine"), STATGROUP_Engine, STATCAT_Advanced);
DECLARE_STATS_GROUP(TEXT("Object"), STATGROUP_Object, STATCAT_Advanced);
DECLARE_STATS_GROUP(TEXT("Quick"), STATGROUP_Quick, STATCAT_Advanced);
