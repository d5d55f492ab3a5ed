#include "ReflectionFixture.h"

bool UFixtureObject::Take(const FFixtureStruct& S, FGuid G, UObject* O)
{
	LastStruct = S;
	LastStructAddress = &S;
	LastGuid = G;
	LastObject = O;
	return S.Id == G;
}

FFixtureStruct UFixtureObject::Make(FGuid InId) const
{
	FFixtureStruct Result;
	Result.Id = InId;
	Result.Generation = 7;
	return Result;
}

void UFixtureObject::SetLabel(const FString& InLabel, int32 Count)
{
	Label = InLabel;
	for (int32 Index = 1; Index < Count; ++Index)
	{
		Label += InLabel;
	}
}

int32 UFixtureObject::CountSides(EFixtureSide::Type First, TEnumAsByte<EFixtureSide::Type> Second)
{
	return (First == EFixtureSide::Right ? 1 : 0) + (Second == EFixtureSide::Right ? 1 : 0);
}

void UFixtureObject::Fill(int32& OutCount, FFixtureStruct& OutStruct, FFixtureStruct& InOutStruct) const
{
	OutCount = 41;
	OutStruct.Generation = 9;
	InOutStruct.Generation += 1;
}

void UFixtureObject::HandleChanged()
{
	++ChangedCount;
}

void UFixtureObject::HandleMoved(UObject* Source, int32 Distance)
{
	LastObject = Source;
	LastDistance = Distance;
}

void UFixtureObject::HandleSparse(bool bFlag)
{
	bLastFlag = bFlag;
}

void UFixtureObject::OnFixtureEvent(UObject* Source, EFixtureMood NewMood)
{
	LastObject = Source;
	Mood = NewMood;
}

UFixtureConfigObject::UFixtureConfigObject(const FObjectInitializer& ObjectInitializer)
	: UFixtureObject(ObjectInitializer)
{
}

UFixtureConfigChild::UFixtureConfigChild(const FObjectInitializer& ObjectInitializer)
	: UFixtureConfigObject(ObjectInitializer)
{
}
