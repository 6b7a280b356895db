#include "host/SDLInput.h"

#include "base/loop/MainThread.h"
#include "base/time/Clock.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace host {

namespace {

    std::optional<ui::KeyEvent::Key> shortcut(SDL_Keycode code)
    {
        using Key = ui::KeyEvent::Key;
        switch (code) {
        case SDLK_a:
            return Key::SelectAll;
        case SDLK_c:
            return Key::Copy;
        case SDLK_x:
            return Key::Cut;
        case SDLK_v:
            return Key::Paste;
        default:
            return std::nullopt;
        }
    }

    std::optional<ui::KeyEvent::Key> editingKey(const SDL_Keysym& keysym)
    {
        using Key = ui::KeyEvent::Key;
        if (keysym.mod & KMOD_CTRL) {
            if (auto command = shortcut(keysym.sym))
                return command;
        }
        switch (keysym.sym) {
        case SDLK_BACKSPACE:
            return Key::Backspace;
        case SDLK_DELETE:
            return Key::Delete;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return Key::Return;
        case SDLK_TAB:
            return keysym.mod & KMOD_SHIFT ? Key::BackTab : Key::Tab;
        case SDLK_ESCAPE:
            return Key::Escape;
        case SDLK_LEFT:
            return Key::Left;
        case SDLK_RIGHT:
            return Key::Right;
        case SDLK_UP:
            return Key::Up;
        case SDLK_DOWN:
            return Key::Down;
        case SDLK_HOME:
            return Key::Home;
        case SDLK_END:
            return Key::End;
        case SDLK_PAGEUP:
            return Key::PageUp;
        case SDLK_PAGEDOWN:
            return Key::PageDown;
        default:
            return std::nullopt;
        }
    }

} // namespace

void SDLInput::handle(const SDL_Event& event, ui::InputHandler& handler)
{
    BASE_ASSERT_MAIN_THREAD();
    auto now = base::Clock::current()->now();
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
        m_pointer = toPoints(event.button.x, event.button.y);
        if (event.button.button == SDL_BUTTON_LEFT && !m_fingerDown) {
            m_fingerDown = true;
            handler.touch({ 0, ui::TouchPhase::Began, toPoints(event.button.x, event.button.y), now,
                std::max<int>(event.button.clicks, 1) });
        }
        break;
    case SDL_MOUSEMOTION:
        m_pointer = toPoints(event.motion.x, event.motion.y);
        if (m_fingerDown)
            handler.touch({ 0, ui::TouchPhase::Moved, toPoints(event.motion.x, event.motion.y), now });
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && m_fingerDown) {
            m_fingerDown = false;
            handler.touch({ 0, ui::TouchPhase::Ended, toPoints(event.button.x, event.button.y), now });
        }
        break;
    case SDL_MOUSEWHEEL:
        m_pointer = toPoints(event.wheel.mouseX, event.wheel.mouseY);
        wheel(event.wheel, handler);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_LEAVE)
            m_pointer.reset();
        break;
    case SDL_TEXTINPUT:
        handler.textInput(event.text.text);
        break;
    case SDL_KEYDOWN:
        key(event.key, handler);
        break;
    default:
        break;
    }
}

void SDLInput::wheel(const SDL_MouseWheelEvent& wheel, ui::InputHandler& handler)
{
    auto now = base::Clock::current()->now();
    double flip = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
    double steps = wheel.preciseY * flip;
    gfx::Point location = toPoints(wheel.mouseX, wheel.mouseY);
    if (SDL_GetModState() & KMOD_CTRL) {
        handler.pinch({ location, std::pow(pinchStep, steps), now });
        return;
    }
    // The wheel turned away from the user shows what is above: the content moves back towards its start.
    double step = ui::ScrollEvent::wheelStep;
    handler.scroll({ location, wheel.preciseX * flip * step, -steps * step, now });
}

void SDLInput::key(const SDL_KeyboardEvent& key, ui::InputHandler& handler)
{
    auto editing = editingKey(key.keysym);
    if (!editing)
        return;
    // Escape and Return answer a screen or an alert: a held key repeating would answer the next one too.
    bool answers = *editing == ui::KeyEvent::Key::Escape || *editing == ui::KeyEvent::Key::Return;
    if (answers && key.repeat)
        return;
    handler.key({ *editing, base::Clock::current()->now(), m_pointer });
}

} // namespace host
