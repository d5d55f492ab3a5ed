using UnrealBuildTool;

public class VeskPersistentReferencesTools : ModuleRules
{
	public VeskPersistentReferencesTools(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"VeskPersistentReferences",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"VeskSaveLoad",
		});
	}
}
