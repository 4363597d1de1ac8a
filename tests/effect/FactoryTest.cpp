// The module as a host first meets it: the factory, its one class, and instances.

#include "BundleFixture.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include <cstring>
#include <dlfcn.h>

using namespace Steinberg;
using namespace QuillmereTest;

TEST (Factory, SecondCallReturnsTheSameFactoryWithOneMoreReference)
{
	auto module = bundle ();
	ASSERT_TRUE (module);
	void* handle = dlopen (module->libraryPath ().c_str (), RTLD_NOW | RTLD_NOLOAD);
	ASSERT_NE (handle, nullptr);
	auto getFactory = reinterpret_cast<IPluginFactory* (*)()> (dlsym (handle, "GetPluginFactory"));
	ASSERT_NE (getFactory, nullptr);

	// addRef reports the new count, so adding one and dropping it reads the count.
	IPluginFactory* first = getFactory ();
	const uint32 countAfterFirst = first->addRef () - 1;
	first->release ();
	IPluginFactory* second = getFactory ();
	const uint32 countAfterSecond = second->addRef () - 1;
	second->release ();
	EXPECT_EQ (first, second);
	EXPECT_EQ (first, module->factory ());
	EXPECT_EQ (countAfterSecond, countAfterFirst + 1);
	second->release ();
	first->release ();
	dlclose (handle);
}

TEST (Factory, DescribesTheVendorAndOneReverbClass)
{
	auto module = bundle ();
	ASSERT_TRUE (module);
	PFactoryInfo info = module->factoryInfo ();
	EXPECT_GT (std::strlen (info.vendor), 0u);
	EXPECT_EQ (info.flags, PFactoryInfo::kUnicode);

	auto classes = module->classInfos ();
	ASSERT_EQ (classes.size (), 1u);
	const PClassInfo2& effectClass = classes[0];
	const uint8 expectedId[16] = {0xD6, 0xFA, 0xE8, 0xEB, 0xF8, 0x70, 0x44, 0xEF,
	                              0x9A, 0xAB, 0x36, 0x0B, 0xB5, 0x21, 0xFC, 0x19};
	EXPECT_EQ (std::memcmp (effectClass.cid, expectedId, 16), 0);
	EXPECT_EQ (effectClass.cardinality, PClassInfo::kManyInstances);
	EXPECT_STREQ (effectClass.category, "Audio Module Class");
	EXPECT_STREQ (effectClass.name, "Quillmere");
	EXPECT_EQ (effectClass.classFlags, 0u);
	EXPECT_STREQ (effectClass.subCategories, "Fx|Reverb");
	EXPECT_STREQ (effectClass.vendor, "");
	EXPECT_STREQ (effectClass.version, "2.0.2.0");
	EXPECT_STREQ (effectClass.sdkVersion, "VST 3.6.6");
}

TEST (Factory, UnknownClassOrInterfaceIsRefused)
{
	auto module = bundle ();
	ASSERT_TRUE (module);
	TUID unknown = {};
	void* object = reinterpret_cast<void*> (1);
	EXPECT_NE (module->factory ()->createInstance (unknown, Vst::IAudioProcessor::iid, &object),
	           kResultOk);
	EXPECT_EQ (object, nullptr);
}

TEST (Factory, InstancesDoNotShareSettings)
{
	auto first = newEffect ();
	auto second = newEffect ();
	ASSERT_TRUE (first && second);
	first->setParamNormalized (5, 0.9);
	EXPECT_DOUBLE_EQ (first->getParamNormalized (5), 0.9);
	EXPECT_EQ (second->valueToText (5, second->getParamNormalized (5)), "3.00");

	std::vector<uint8_t> a, b;
	ASSERT_EQ (first->getState (a), kResultOk);
	ASSERT_EQ (second->getState (b), kResultOk);
	EXPECT_NE (a, b);
}
