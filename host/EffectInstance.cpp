#include "EffectInstance.h"

#include "base/source/fstring.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace QuillmereHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

std::string toUtf8 (const TChar* text)
{
	if (!text)
		return {};
	String converted (text);
	converted.toMultiByte (kCP_Utf8);
	return converted.text8 () ? converted.text8 () : "";
}

void toString128 (const std::string& utf8, String128 out)
{
	String converted (utf8.c_str (), kCP_Utf8);
	out[0] = 0;
	converted.copyTo16 (out, 0, 127);
}

std::unique_ptr<EffectInstance> EffectInstance::create (std::shared_ptr<PluginModule> module,
                                                        std::string& error)
{
	PClassInfo2 info;
	if (!module || !module->findClass (kVstAudioEffectClass, info))
	{
		error = "the module offers no class of category " kVstAudioEffectClass;
		return nullptr;
	}
	return create (std::move (module), info.cid, error);
}

std::unique_ptr<EffectInstance> EffectInstance::create (std::shared_ptr<PluginModule> module,
                                                        const TUID classId, std::string& error)
{
	std::unique_ptr<EffectInstance> fx (new EffectInstance);
	fx->module = module;
	fx->hostContext = std::make_unique<HostApplication> ();
	IPluginFactory* factory = module->factory ();

	if (factory->createInstance (classId, IComponent::iid, reinterpret_cast<void**> (&fx->comp)) !=
	        kResultOk ||
	    !fx->comp)
	{
		fx->comp = nullptr;
		error = "the factory cannot create the class as IComponent";
		return nullptr;
	}
	if (fx->comp->initialize (fx->hostContext.get ()) != kResultOk)
	{
		fx->comp->release ();
		fx->comp = nullptr;
		error = "IComponent::initialize failed";
		return nullptr;
	}
	if (fx->comp->queryInterface (IAudioProcessor::iid,
	                              reinterpret_cast<void**> (&fx->audioProcessor)) != kResultOk)
	{
		fx->audioProcessor = nullptr;
		error = "the component is no IAudioProcessor";
		return nullptr;
	}
	if (fx->comp->queryInterface (IEditController::iid,
	                              reinterpret_cast<void**> (&fx->editController)) != kResultOk)
	{
		// A controller of its own class, as a two-part plug-in has.
		fx->editController = nullptr;
		TUID controllerId;
		if (fx->comp->getControllerClassId (controllerId) != kResultOk ||
		    factory->createInstance (controllerId, IEditController::iid,
		                             reinterpret_cast<void**> (&fx->editController)) != kResultOk ||
		    !fx->editController)
		{
			fx->editController = nullptr;
			error = "the component has no edit controller";
			return nullptr;
		}
		fx->separateController = true;
		if (fx->editController->initialize (fx->hostContext.get ()) != kResultOk)
		{
			error = "IEditController::initialize failed";
			return nullptr;
		}
		fx->connectParts (true);
		std::vector<std::uint8_t> state;
		if (fx->getState (state) == kResultOk)
		{
			MemoryStream stream (state.data (), static_cast<TSize> (state.size ()));
			fx->editController->setComponentState (&stream);
		}
	}
	fx->editController->setComponentHandler (&fx->recorder);
	return fx;
}

EffectInstance::~EffectInstance ()
{
	if (processing)
		setProcessing (false);
	if (active)
		setActive (false);
	if (editController)
	{
		editController->setComponentHandler (nullptr);
		if (separateController)
		{
			connectParts (false);
			editController->terminate ();
		}
		editController->release ();
	}
	if (audioProcessor)
		audioProcessor->release ();
	if (comp)
	{
		comp->terminate ();
		comp->release ();
	}
	hostContext.reset ();
}

void EffectInstance::connectParts (bool connect)
{
	FUnknownPtr<IConnectionPoint> componentPoint (comp);
	FUnknownPtr<IConnectionPoint> controllerPoint (editController);
	if (!componentPoint || !controllerPoint)
		return;
	if (connect)
	{
		componentPoint->connect (controllerPoint);
		controllerPoint->connect (componentPoint);
	}
	else
	{
		componentPoint->disconnect (controllerPoint);
		controllerPoint->disconnect (componentPoint);
	}
}

tresult EffectInstance::setupProcessing (double sampleRate, int32 maxBlockSize, int32 sampleSize,
                                         int32 processMode)
{
	setup = {processMode, sampleSize, maxBlockSize, sampleRate};
	context = {};
	context.state = ProcessContext::kPlaying | ProcessContext::kContTimeValid |
	                ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
	context.sampleRate = sampleRate;
	context.tempo = 120.0;
	context.timeSigNumerator = 4;
	context.timeSigDenominator = 4;
	return audioProcessor->setupProcessing (setup);
}

tresult EffectInstance::setBusArrangements (std::vector<SpeakerArrangement> inputs,
                                            std::vector<SpeakerArrangement> outputs)
{
	return audioProcessor->setBusArrangements (inputs.data (), static_cast<int32> (inputs.size ()),
	                                           outputs.data (), static_cast<int32> (outputs.size ()));
}

tresult EffectInstance::setActive (bool state)
{
	tresult result = comp->setActive (state);
	active = state;
	return result;
}

tresult EffectInstance::setProcessing (bool state)
{
	// Plug-ins may answer kNotImplemented; the call is still made in pairs.
	tresult result = audioProcessor->setProcessing (state);
	processing = state;
	return result;
}

namespace {

void setChannels (AudioBusBuffers& bus, float* const* channels)
{
	bus.channelBuffers32 = const_cast<float**> (channels);
}

void setChannels (AudioBusBuffers& bus, double* const* channels)
{
	bus.channelBuffers64 = const_cast<double**> (channels);
}

} // namespace

template <typename Sample>
tresult EffectInstance::processBlock (Sample* const* inputs, int32 numInputChannels,
                                      Sample* const* outputs, int32 numOutputChannels,
                                      int32 numSamples, IParameterChanges* changes,
                                      uint64 inputSilenceFlags, uint64* outputSilenceFlags)
{
	const int32 sampleSize = sizeof (Sample) == sizeof (float) ? kSample32 : kSample64;
	if (sampleSize != setup.symbolicSampleSize || numSamples < 0 ||
	    numSamples > setup.maxSamplesPerBlock)
		return kInvalidArgument;

	AudioBusBuffers inputBus;
	inputBus.numChannels = numInputChannels;
	inputBus.silenceFlags = inputSilenceFlags;
	setChannels (inputBus, inputs);
	AudioBusBuffers outputBus;
	outputBus.numChannels = numOutputChannels;
	outputBus.silenceFlags = 0;
	setChannels (outputBus, outputs);

	ProcessData data;
	data.processMode = setup.processMode;
	data.symbolicSampleSize = sampleSize;
	data.numSamples = numSamples;
	data.numInputs = inputs ? 1 : 0;
	data.numOutputs = outputs ? 1 : 0;
	data.inputs = inputs ? &inputBus : nullptr;
	data.outputs = outputs ? &outputBus : nullptr;
	data.inputParameterChanges = changes;
	outputParameterChanges.clear ();
	data.outputParameterChanges = &outputParameterChanges;
	data.processContext = &context;

	const tresult result = audioProcessor->process (data);
	if (outputSilenceFlags)
		*outputSilenceFlags = outputs ? outputBus.silenceFlags : 0;
	context.projectTimeSamples += numSamples;
	context.continousTimeSamples += numSamples;
	return result;
}

tresult EffectInstance::process (float* const* inputs, int32 numInputChannels,
                                 float* const* outputs, int32 numOutputChannels, int32 numSamples,
                                 IParameterChanges* changes, uint64 inputSilenceFlags,
                                 uint64* outputSilenceFlags)
{
	return processBlock (inputs, numInputChannels, outputs, numOutputChannels, numSamples, changes,
	                     inputSilenceFlags, outputSilenceFlags);
}

tresult EffectInstance::process (double* const* inputs, int32 numInputChannels,
                                 double* const* outputs, int32 numOutputChannels, int32 numSamples,
                                 IParameterChanges* changes, uint64 inputSilenceFlags,
                                 uint64* outputSilenceFlags)
{
	return processBlock (inputs, numInputChannels, outputs, numOutputChannels, numSamples, changes,
	                     inputSilenceFlags, outputSilenceFlags);
}

int32 EffectInstance::parameterCount () const
{
	return editController->getParameterCount ();
}

std::optional<ParameterInfo> EffectInstance::parameterInfo (int32 index) const
{
	ParameterInfo info {};
	if (editController->getParameterInfo (index, info) != kResultOk)
		return std::nullopt;
	return info;
}

std::optional<ParameterInfo> EffectInstance::findParameterById (ParamID id) const
{
	for (int32 i = 0, count = parameterCount (); i < count; ++i)
		if (auto info = parameterInfo (i); info && info->id == id)
			return info;
	return std::nullopt;
}

std::optional<ParameterInfo> EffectInstance::findParameterByTitle (const std::string& title) const
{
	for (int32 i = 0, count = parameterCount (); i < count; ++i)
		if (auto info = parameterInfo (i); info && toUtf8 (info->title) == title)
			return info;
	return std::nullopt;
}

ParamValue EffectInstance::getParamNormalized (ParamID id) const
{
	return editController->getParamNormalized (id);
}

tresult EffectInstance::setParamNormalized (ParamID id, ParamValue value)
{
	return editController->setParamNormalized (id, value);
}

std::string EffectInstance::valueToText (ParamID id, ParamValue value) const
{
	String128 text {};
	if (editController->getParamStringByValue (id, value, text) != kResultOk)
		return {};
	return toUtf8 (text);
}

tresult EffectInstance::textToValue (ParamID id, const std::string& text, ParamValue& value) const
{
	String128 wide {};
	toString128 (text, wide);
	return editController->getParamValueByString (id, wide, value);
}

ParamValue EffectInstance::normalizedToPlain (ParamID id, ParamValue value) const
{
	return editController->normalizedParamToPlain (id, value);
}

ParamValue EffectInstance::plainToNormalized (ParamID id, ParamValue plain) const
{
	return editController->plainParamToNormalized (id, plain);
}

tresult EffectInstance::getState (std::vector<std::uint8_t>& bytes)
{
	MemoryStream stream;
	const tresult result = comp->getState (&stream);
	const auto* data = reinterpret_cast<const std::uint8_t*> (stream.getData ());
	bytes.assign (data, data + stream.getSize ());
	return result;
}

tresult EffectInstance::setState (const std::vector<std::uint8_t>& bytes)
{
	std::vector<std::uint8_t> copy (bytes); // the stream wants writable memory
	MemoryStream stream (copy.data (), static_cast<TSize> (copy.size ()));
	const tresult result = comp->setState (&stream);
	if (result == kResultOk && separateController)
	{
		stream.seek (0, IBStream::kIBSeekSet, nullptr);
		editController->setComponentState (&stream);
	}
	return result;
}

} // namespace QuillmereHost
