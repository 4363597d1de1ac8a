#pragma once
// Reference counting and messages for the toolkit's objects: remember adds a reference,
// forget drops one and deletes the object with the last.

#include <cstdint>

namespace VSTGUI {

enum CMessageResult
{
	kMessageUnknown = 0,
	kMessageNotified = 1,
};

// The message the editor's idle timer sends.
extern const char* const kMsgTimer;

class CBaseObject
{
public:
	CBaseObject () = default;
	virtual ~CBaseObject () = default;
	CBaseObject (const CBaseObject&) = delete;
	CBaseObject& operator= (const CBaseObject&) = delete;

	virtual void remember () { ++nbReference; }
	virtual void forget ()
	{
		if (--nbReference == 0)
			delete this;
	}
	int32_t getNbReference () const { return nbReference; }

	virtual CMessageResult notify (CBaseObject* sender, const char* message)
	{
		return kMessageUnknown;
	}

private:
	int32_t nbReference = 1;
};

} // namespace VSTGUI
