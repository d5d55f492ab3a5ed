#include "Stats/Stats.h"

#include "Containers/Map.h"
#include "Templates/Tuple.h"
#include "Templates/UniquePtr.h"

#include <mutex>

namespace
{
	struct FStatKey
	{
		FName Name;
		FName Group;

		friend bool operator==(const FStatKey& A, const FStatKey& B)
		{
			return A.Name == B.Name && A.Group == B.Group;
		}

		friend uint32 GetTypeHash(const FStatKey& Key)
		{
			return HashCombine(GetTypeHash(Key.Name), GetTypeHash(Key.Group));
		}
	};

	struct FStatTable
	{
		std::mutex Mutex;
		// Descriptions are heap objects so that their addresses, the stat ids, never move.
		TMap<FStatKey, TUniquePtr<FStatDescription>> Descriptions;
	};

	FStatTable& GetStatTable()
	{
		// Never destroyed: stat ids held in function statics outlive any ordering of exit.
		static FStatTable* Table = new FStatTable();
		return *Table;
	}
}

const FStatDescription* FStatRegistry::FindOrAddCycleStat(const TCHAR* StatName, const TCHAR* GroupName, const TCHAR* CategoryName)
{
	const FStatKey Key{ FName(StatName), FName(GroupName) };
	FStatTable& Table = GetStatTable();
	const std::lock_guard<std::mutex> Lock(Table.Mutex);
	if (TUniquePtr<FStatDescription>* Found = Table.Descriptions.Find(Key))
	{
		return Found->Get();
	}
	TUniquePtr<FStatDescription>& Added = Table.Descriptions.Add(Key, MakeUnique<FStatDescription>());
	Added->Name = Key.Name;
	Added->Group = Key.Group;
	Added->Category = FName(CategoryName);
	return Added.Get();
}
