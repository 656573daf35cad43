// Placeholder until this part has code of its own.
namespace kx {}
