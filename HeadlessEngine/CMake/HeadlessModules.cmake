# Engine and plugin modules as shared libraries, laid out as UE modules are:
#   <Root>/Public/**  headers other modules include
#   <Root>/Private/** sources and private headers
# Any header that includes its own "<Stem>.generated.h" is run through the header tool.

# headless_add_reflection(<Target> MODULE <Name> ROOT <Dir> HEADERS <files...> [DEPENDS <targets...>])
#   Runs the header tool over HEADERS and adds the generated headers' directory and the module's
#   registration source to <Target>. A target that is not a module gets an empty <MODULE>_API and
#   the include folders of ROOT. Reflected headers of the DEPENDS targets (and of their own
#   dependencies) are passed as --dep so that types from other modules can be named.
function(headless_add_reflection Target)
	cmake_parse_arguments(ARG "" "MODULE;ROOT" "HEADERS;DEPENDS" ${ARGN})
	string(TOUPPER "${ARG_MODULE}" ModuleUpper)
	set(OutDir ${CMAKE_CURRENT_BINARY_DIR}/${Target}.Generated)
	file(MAKE_DIRECTORY ${OutDir})

	set(DependencyHeaders "")
	set(Pending ${ARG_DEPENDS})
	set(Visited "")
	while(Pending)
		list(POP_FRONT Pending Dependency)
		if(NOT TARGET ${Dependency} OR Dependency IN_LIST Visited)
			continue()
		endif()
		list(APPEND Visited ${Dependency})
		get_target_property(Reflected ${Dependency} HEADLESS_REFLECTED_HEADERS)
		if(Reflected)
			list(APPEND DependencyHeaders ${Reflected})
		endif()
		get_target_property(Further ${Dependency} HEADLESS_MODULE_DEPENDS)
		if(Further)
			list(APPEND Pending ${Further})
		endif()
	endwhile()
	list(REMOVE_DUPLICATES DependencyHeaders)

	set(Outputs ${OutDir}/${ARG_MODULE}.gen.cpp)
	foreach(Header ${ARG_HEADERS})
		get_filename_component(Stem ${Header} NAME_WE)
		list(APPEND Outputs ${OutDir}/${Stem}.generated.h)
	endforeach()
	set(DepArgs "")
	foreach(Header ${DependencyHeaders})
		list(APPEND DepArgs --dep ${Header})
	endforeach()

	add_custom_command(
		OUTPUT ${Outputs}
		COMMAND HeadlessHeaderTool --module ${ARG_MODULE} --root ${ARG_ROOT} --out ${OutDir}
			--api ${ModuleUpper}_API ${DepArgs} ${ARG_HEADERS}
		DEPENDS HeadlessHeaderTool ${ARG_HEADERS} ${DependencyHeaders}
		COMMENT "Generating reflection code for ${ARG_MODULE}"
		VERBATIM)
	target_sources(${Target} PRIVATE ${Outputs})
	target_include_directories(${Target} PUBLIC ${OutDir})
	set_source_files_properties(${OutDir}/${ARG_MODULE}.gen.cpp PROPERTIES COMPILE_OPTIONS "-Wno-invalid-offsetof")
	set_property(TARGET ${Target} APPEND PROPERTY HEADLESS_REFLECTED_HEADERS ${ARG_HEADERS})

	# A test or program that reflects types of its own: they are not exported, and its headers
	# are laid out as a module's.
	get_target_property(IsModule ${Target} HEADLESS_MODULE)
	if(NOT IsModule)
		target_compile_definitions(${Target} PRIVATE "${ModuleUpper}_API=")
		foreach(Folder Public Private)
			if(EXISTS ${ARG_ROOT}/${Folder})
				target_include_directories(${Target} PRIVATE ${ARG_ROOT}/${Folder})
			endif()
		endforeach()
	endif()
endfunction()

# headless_reflected_headers(<OutVar> <Dir>): headers under <Dir> that include their generated header.
function(headless_reflected_headers OutVar Dir)
	file(GLOB_RECURSE Headers CONFIGURE_DEPENDS ${Dir}/*.h)
	set(Result "")
	foreach(Header ${Headers})
		get_filename_component(Stem ${Header} NAME_WE)
		file(STRINGS ${Header} Lines REGEX "#include \"${Stem}\\.generated\\.h\"")
		if(Lines)
			list(APPEND Result ${Header})
		endif()
	endforeach()
	set(${OutVar} ${Result} PARENT_SCOPE)
endfunction()

# headless_add_module(<Name> ROOT <Dir> [DEPENDS <modules...>])
function(headless_add_module Name)
	cmake_parse_arguments(ARG "" "ROOT" "DEPENDS" ${ARGN})
	file(GLOB_RECURSE Sources CONFIGURE_DEPENDS ${ARG_ROOT}/Private/*.cpp)
	add_library(${Name} SHARED)
	string(TOUPPER "${Name}" NameUpper)
	target_compile_definitions(${Name}
		PUBLIC "${NameUpper}_API=__attribute__((visibility(\"default\")))"
		PRIVATE "UE_MODULE_NAME=\"${Name}\"")
	target_include_directories(${Name}
		PRIVATE ${ARG_ROOT}/Private)
	if(EXISTS ${ARG_ROOT}/Public)
		target_include_directories(${Name} PUBLIC ${ARG_ROOT}/Public)
	endif()
	target_link_libraries(${Name} PUBLIC ${ARG_DEPENDS})
	# A module must resolve everything it uses against the modules it names, as on Windows.
	target_link_options(${Name} PRIVATE -Wl,--no-undefined)
	# Other modules see only the functions and data a module marks with its API macro, as in the
	# engine's own Linux builds; type information stays shared, as it is across Windows DLLs.
	target_compile_options(${Name} PRIVATE -fvisibility-ms-compat -fvisibility-inlines-hidden)
	set_target_properties(${Name} PROPERTIES HEADLESS_MODULE TRUE HEADLESS_MODULE_DEPENDS "${ARG_DEPENDS}")

	# The registration source is linked first, so that its records are queued before the module's
	# initializer entry, as the engine expects a module's types to be known when the module loads.
	headless_reflected_headers(Reflected ${ARG_ROOT})
	if(Reflected)
		headless_add_reflection(${Name} MODULE ${Name} ROOT ${ARG_ROOT} HEADERS ${Reflected} DEPENDS ${ARG_DEPENDS})
	endif()
	target_sources(${Name} PRIVATE ${Sources})
endfunction()
