// Placeholder model: keeps time and the running flag. The aircraft units replace it.
#include "simulation.h"

namespace host {

struct Simulation::Impl {
    TokenStore& tokens;
    bool running = true;
    bool demo = true;
    double time = 0;
    double carry = 0;
};

Simulation::Simulation(TokenStore& tokens) : impl_(new Impl{.tokens = tokens}) {}
Simulation::~Simulation() { delete impl_; }
void Simulation::Reset(bool demo) {
    impl_->demo = demo;
    impl_->time = 0;
    impl_->carry = 0;
}
void Simulation::Advance(double seconds) {
    if (!impl_->running || !(seconds > 0)) return;
    impl_->carry += seconds;
    while (impl_->carry >= kStepSeconds) {
        impl_->carry -= kStepSeconds;
        Step();
    }
}
void Simulation::Step() { impl_->time += kStepSeconds; }
void Simulation::Event(uint32_t, uint32_t) {}
void Simulation::SetFailure(uint32_t, bool) {}
void Simulation::SetRunning(bool running) { impl_->running = running; }
bool Simulation::Running() const { return impl_->running; }
bool Simulation::SetControl(std::string_view, double) { return false; }
std::vector<std::string> Simulation::ControlNames() const { return {}; }
void Simulation::SetDemo(bool on) { impl_->demo = on; }
bool Simulation::DemoActive() const { return impl_->demo; }
std::string Simulation::DemoPhase() const { return impl_->demo ? "demo" : "manual"; }
double Simulation::Time() const { return impl_->time; }

}  // namespace host
