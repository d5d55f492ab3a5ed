using UnrealBuildTool;

public class VeskPersistentReferences : ModuleRules
{
	public VeskPersistentReferences(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"VeskSaveLoad",
		});
	}
}
