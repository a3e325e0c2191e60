// The fifteen events qkButtons_H raises to its container, as an observer interface.
// Every parameter is by reference, so a change the container makes reaches the host.
#pragma once

#include <cstdint>

namespace buttons {

// The host's OLE data object, passed through untouched.
struct OleDataObject;

class ButtonEvents {
public:
    virtual ~ButtonEvents() = default;
    virtual void MouseDown(std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void MouseUp(std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void MouseMove(std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void KeyDown(std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/) {}
    virtual void KeyPress(std::int16_t& /*KeyAscii*/) {}
    virtual void KeyUp(std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/) {}
    virtual void MouseOnButton(bool& /*OnButton*/) {}
    virtual void Click() {}
    virtual void DoubleClick(std::int16_t& /*Button*/) {}
    virtual void OLECompleteDrag(std::int32_t& /*Effect*/) {}
    virtual void OLEDragDrop(OleDataObject* /*Data*/, std::int32_t& /*Effect*/, std::int16_t& /*Button*/,
                             std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/) {}
    virtual void OLEDragOver(OleDataObject* /*Data*/, std::int32_t& /*Effect*/, std::int16_t& /*Button*/,
                             std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/, std::int16_t& /*State*/) {}
    virtual void OLEGiveFeedback(std::int32_t& /*Effect*/, bool& /*DefaultCursors*/) {}
    virtual void OLESetData(OleDataObject* /*Data*/, std::int16_t& /*DataFormat*/) {}
    virtual void OLEStartDrag(OleDataObject* /*Data*/, std::int32_t& /*AllowedEffects*/) {}
};

}  // namespace buttons
